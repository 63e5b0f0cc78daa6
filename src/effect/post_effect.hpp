#pragma once

namespace sf {
class RenderTarget;
class RenderTexture;
class Shader;
}  // namespace sf

namespace effect {

// A full-screen effect: reads a finished picture and draws its transformed version elsewhere.
class PostEffect {
public:
    PostEffect() = default;
    virtual ~PostEffect() = default;
    PostEffect(const PostEffect&) = delete;
    PostEffect& operator=(const PostEffect&) = delete;

    virtual void Apply(const sf::RenderTexture& input, sf::RenderTarget& output) = 0;

    // Shaders are available.
    static bool IsSupported();

protected:
    // Covers the output's whole view with one quad run through `shader`, replacing what was there.
    static void ApplyShader(const sf::Shader& shader, sf::RenderTarget& output);
};

}  // namespace effect
