// Adds the glow onto the picture; the output clamps, so saturated areas turn white. The picture
// is read texel for texel, the smaller glow picture through filtering to enlarge it smoothly.
#version 130

uniform sampler2D source;
uniform sampler2D bloom;

void main()
{
    vec2 uv = gl_TexCoord[0].xy;
    vec3 picture = texelFetch(source, ivec2(uv * vec2(textureSize(source, 0))), 0).rgb;
    gl_FragColor = vec4(picture + texture2D(bloom, uv).rgb, 1.0);
}
