// Keeps only what should glow. Brightness mixes luminance with the strongest channel, so that
// saturated orange and red fire counts as bright while mid-tone foliage stays below the knee.
// Exact texel reads (texelFetch) skip the filtering that software renderers pay dearly for.
#version 130

uniform sampler2D source;

const float knee_low = 0.62;
const float knee_high = 0.9;
const float gain = 1.5;

void main()
{
    ivec2 texel = ivec2(gl_TexCoord[0].xy * vec2(textureSize(source, 0)));
    vec3 color = texelFetch(source, texel, 0).rgb;
    float luma = dot(color, vec3(0.2126, 0.7152, 0.0722));
    float peak = max(color.r, max(color.g, color.b));
    float weight = smoothstep(knee_low, knee_high, 0.5 * (luma + peak)) * gain;
    gl_FragColor = vec4(color * weight, 1.0);
}
