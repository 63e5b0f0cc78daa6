// Full-screen quad: positions go through SFML's projection, texture coordinates pass unchanged
// (the quad already carries 0..1 with 1 at the top, matching render texture storage).
#version 130

void main()
{
    gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex;
    gl_TexCoord[0] = gl_MultiTexCoord0;
}
