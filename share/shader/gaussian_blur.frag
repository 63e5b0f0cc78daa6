// One direction of a 5-texel Gaussian (sigma 1.3 texels); the effect runs it twice per direction,
// which widens it to sigma 1.8, and at half and quarter size, which widens it on screen. Exact
// texel reads: filtered ones cost a software renderer about twice as much, and every tap sits on
// a texel centre anyway.
#version 130

uniform sampler2D source;
uniform vec2 offsetFactor;

const float weight0 = 0.32258;
const float weight1 = 0.23997;
const float weight2 = 0.09874;

vec3 Tap(ivec2 texel, ivec2 last)
{
    return texelFetch(source, clamp(texel, ivec2(0), last), 0).rgb;
}

void main()
{
    ivec2 size = textureSize(source, 0);
    ivec2 last = size - 1;
    ivec2 texel = ivec2(gl_TexCoord[0].xy * vec2(size));
    ivec2 step = ivec2(offsetFactor * vec2(size) + 0.5);
    vec3 sum = Tap(texel, last) * weight0
             + (Tap(texel + step, last) + Tap(texel - step, last)) * weight1
             + (Tap(texel + 2 * step, last) + Tap(texel - 2 * step, last)) * weight2;
    gl_FragColor = vec4(sum, 1.0);
}
