#include "effect/bloom.hpp"

#include <algorithm>
#include <cassert>

namespace effect::bloom {

namespace {

void Load(holder::ShaderHolder& shaders, holder::ShaderId id) {
    shaders.Load(id, holder::VertexShaderFile(), holder::FileOf(id));
}

// A tiny window must still give every work texture at least one pixel.
bool Resize(sf::RenderTexture& texture, unsigned width, unsigned height) {
    const bool ok = texture.create(std::max(width, 1u), std::max(height, 1u), sf::ContextSettings());
    texture.setSmooth(true);
    return ok;
}

sf::Vector2f SizeOf(const sf::RenderTexture& texture) {
    return sf::Vector2f(texture.getSize());
}

}  // namespace

BloomEffect::BloomEffect() {
    Load(shaders, holder::ShaderId::GaussianBlurPass);
    Load(shaders, holder::ShaderId::AddPass);
    Load(shaders, holder::ShaderId::DownSamplePass);
    Load(shaders, holder::ShaderId::BrightnessPass);
}

void BloomEffect::Apply(const sf::RenderTexture& input, sf::RenderTarget& output) {
    PrepareTextures(input.getSize());

    FilterBright(input, brightness_texture);

    DownSample(brightness_texture, first_pass_textures[0]);
    BlurMultipass(first_pass_textures);

    DownSample(first_pass_textures[0], second_pass_textures[0]);
    BlurMultipass(second_pass_textures);

    Add(first_pass_textures[0], second_pass_textures[0], first_pass_textures[1]);
    first_pass_textures[1].display();
    Add(input, first_pass_textures[1], output);
}

void BloomEffect::PrepareTextures(sf::Vector2u size) {
    if (brightness_texture.getSize() == size)
        return;

    bool ok = Resize(brightness_texture, size.x, size.y);
    for (auto& texture : first_pass_textures)
        ok = Resize(texture, size.x / 2, size.y / 2) && ok;
    for (auto& texture : second_pass_textures)
        ok = Resize(texture, size.x / 4, size.y / 4) && ok;
    assert(ok);
    (void)ok;
}

void BloomEffect::FilterBright(const sf::RenderTexture& input, sf::RenderTexture& output) {
    sf::Shader& brightness = shaders.Get(holder::ShaderId::BrightnessPass);
    brightness.setUniform("source", input.getTexture());
    ApplyShader(brightness, output);
    output.display();
}

void BloomEffect::DownSample(const sf::RenderTexture& input, sf::RenderTexture& output) {
    sf::Shader& down_sample = shaders.Get(holder::ShaderId::DownSamplePass);
    down_sample.setUniform("source", input.getTexture());
    down_sample.setUniform("sourceSize", SizeOf(input));
    ApplyShader(down_sample, output);
    output.display();
}

void BloomEffect::Blur(const sf::RenderTexture& input, sf::RenderTexture& output, sf::Vector2f offset_factor) {
    sf::Shader& gaussian_blur = shaders.Get(holder::ShaderId::GaussianBlurPass);
    gaussian_blur.setUniform("source", input.getTexture());
    gaussian_blur.setUniform("offsetFactor", offset_factor);
    ApplyShader(gaussian_blur, output);
    output.display();
}

// Two vertical and two horizontal passes, ping-ponging so the result ends in textures[0].
void BloomEffect::BlurMultipass(RenderTextures& textures) {
    const sf::Vector2f size = SizeOf(textures[0]);
    for (int pass = 0; pass < 2; ++pass) {
        Blur(textures[0], textures[1], sf::Vector2f(0.f, 1.f / size.y));
        Blur(textures[1], textures[0], sf::Vector2f(1.f / size.x, 0.f));
    }
}

void BloomEffect::Add(const sf::RenderTexture& source, const sf::RenderTexture& bloom, sf::RenderTarget& output) {
    sf::Shader& add = shaders.Get(holder::ShaderId::AddPass);
    add.setUniform("source", source.getTexture());
    add.setUniform("bloom", bloom.getTexture());
    ApplyShader(add, output);
}

}  // namespace effect::bloom
