// Adds the glow onto the picture; the output clamps, so saturated areas turn white. Both are read
// texel for texel: the glow is smooth already, its texels are the size of the game's logical
// pixels on the window, and exact reads cost a software renderer half as much as filtered ones.
#version 130

uniform sampler2D source;
uniform sampler2D bloom;

vec3 Read(sampler2D picture, vec2 uv)
{
    return texelFetch(picture, ivec2(uv * vec2(textureSize(picture, 0))), 0).rgb;
}

void main()
{
    vec2 uv = gl_TexCoord[0].xy;
    gl_FragColor = vec4(Read(source, uv) + Read(bloom, uv), 1.0);
}
