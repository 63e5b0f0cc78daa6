#pragma once

#include "effect/post_effect.hpp"

#include <holder/holders.hpp>
#include <holder/resource_id.hpp>

#include <SFML/Graphics/RenderTexture.hpp>
#include <SFML/Graphics/Shader.hpp>
#include <SFML/System/Vector2.hpp>

#include <array>

namespace effect::bloom {

// Makes bright parts of a picture bleed light: the bright parts are extracted, blurred at half
// and at quarter resolution, and both glows are added back onto the picture.
class BloomEffect : public PostEffect {
public:
    using RenderTextures = std::array<sf::RenderTexture, 2>;

    // Throws std::runtime_error when a shader file is missing or does not compile.
    BloomEffect();

    void Apply(const sf::RenderTexture& input, sf::RenderTarget& output) override;

private:
    // Sizes the work textures for an input of `size`; does nothing if they already fit it.
    void PrepareTextures(sf::Vector2u size);
    void FilterBright(const sf::RenderTexture& input, sf::RenderTexture& output);
    void DownSample(const sf::RenderTexture& input, sf::RenderTexture& output);
    void Blur(const sf::RenderTexture& input, sf::RenderTexture& output, sf::Vector2f offset_factor);
    void BlurMultipass(RenderTextures& textures);
    void Add(const sf::RenderTexture& source, const sf::RenderTexture& bloom, sf::RenderTarget& output);

    holder::ShaderHolder shaders;
    sf::RenderTexture brightness_texture;
    RenderTextures first_pass_textures;
    RenderTextures second_pass_textures;
};

}  // namespace effect::bloom
