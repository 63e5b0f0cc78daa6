// Halves the resolution: every target pixel averages the 2x2 source block it covers, so even a
// one-pixel bright line survives. Four exact reads are cheaper than filtered ones in software.
#version 130

uniform sampler2D source;
uniform vec2 sourceSize;

void main()
{
    ivec2 last = ivec2(sourceSize) - 1;
    ivec2 texel = min(ivec2(gl_TexCoord[0].xy * sourceSize - 0.5), last - 1);
    texel = max(texel, ivec2(0));
    vec3 sum = texelFetch(source, texel, 0).rgb
             + texelFetch(source, min(texel + ivec2(1, 0), last), 0).rgb
             + texelFetch(source, min(texel + ivec2(0, 1), last), 0).rgb
             + texelFetch(source, min(texel + ivec2(1, 1), last), 0).rgb;
    gl_FragColor = vec4(sum * 0.25, 1.0);
}
