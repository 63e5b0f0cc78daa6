#include "effect/bloom.hpp"

#include <gtest/gtest.h>

#include <SFML/Graphics/CircleShape.hpp>
#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/RenderTexture.hpp>

#include <array>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>

namespace {

// A mid-tone green, lighter than most ground: it must not glow.
const sf::Color ground(70, 140, 60);

// A green field with one near-white bullet; `at` is its centre in pixels from the top-left.
std::unique_ptr<sf::RenderTexture> Scene(sf::Vector2u size, sf::Vector2f at) {
    auto scene = std::make_unique<sf::RenderTexture>();
    EXPECT_TRUE(scene->create(size.x, size.y));
    scene->clear(ground);
    sf::CircleShape bullet(4.f);
    bullet.setOrigin(4.f, 4.f);
    bullet.setPosition(at);
    bullet.setFillColor(sf::Color(255, 250, 210));
    scene->draw(bullet);
    scene->display();
    return scene;
}

sf::Image Bloomed(effect::bloom::BloomEffect& bloom, const sf::RenderTexture& scene) {
    sf::RenderTexture output;
    EXPECT_TRUE(output.create(scene.getSize().x, scene.getSize().y));
    bloom.Apply(scene, output);
    output.display();
    return output.getTexture().copyToImage();
}

int Brightness(sf::Color color) { return color.r + color.g + color.b; }

TEST(BloomEffectTest, WorkTexturesFollowTheInputSizeOnly) {
    effect::bloom::BloomEffect bloom;
    bloom.PrepareTextures(sf::Vector2u(1024, 768));
    const std::array<sf::Vector2u, 3> expected = {sf::Vector2u(1024, 768), sf::Vector2u(512, 384),
                                                  sf::Vector2u(256, 192)};
    EXPECT_EQ(bloom.TextureSizes(), expected);
    EXPECT_EQ(bloom.AllocationCount(), 1u);

    sf::RenderTexture output;
    ASSERT_TRUE(output.create(1024, 768));
    const auto scene = Scene(sf::Vector2u(1024, 768), sf::Vector2f(100.f, 100.f));
    bloom.Apply(*scene, output);
    bloom.Apply(*scene, output);
    EXPECT_EQ(bloom.AllocationCount(), 1u);
    EXPECT_EQ(bloom.TextureSizes(), expected);

    bloom.PrepareTextures(sf::Vector2u(640, 480));
    EXPECT_EQ(bloom.AllocationCount(), 2u);
    EXPECT_EQ(bloom.TextureSizes()[2], sf::Vector2u(160, 120));
}

TEST(BloomEffectTest, GlowsAroundBrightSpotsAndLeavesTheGroundAlone) {
    effect::bloom::BloomEffect bloom;
    // Off-centre vertically, so a picture turned upside down would miss the checks below.
    const auto scene = Scene(sf::Vector2u(320, 240), sf::Vector2f(80.f, 60.f));
    const sf::Image before = scene->getTexture().copyToImage();
    const sf::Image after = Bloomed(bloom, *scene);

    // Just outside the bullet the ground is lit up.
    for (const auto& [x, y] : {std::pair(90u, 60u), std::pair(80u, 70u), std::pair(70u, 52u)})
        EXPECT_GT(Brightness(after.getPixel(x, y)), Brightness(before.getPixel(x, y)) + 30) << x << "," << y;
    // The bullet itself stays at least as bright.
    EXPECT_GE(Brightness(after.getPixel(80, 60)), Brightness(before.getPixel(80, 60)));
    // The mirrored place and the far field keep their colour.
    for (const auto& [x, y] : {std::pair(80u, 180u), std::pair(250u, 60u), std::pair(200u, 200u), std::pair(5u, 235u)}) {
        const sf::Color was = before.getPixel(x, y);
        const sf::Color is = after.getPixel(x, y);
        EXPECT_NEAR(is.r, was.r, 2) << x << "," << y;
        EXPECT_NEAR(is.g, was.g, 2) << x << "," << y;
        EXPECT_NEAR(is.b, was.b, 2) << x << "," << y;
    }
}

TEST(BloomEffectTest, TinyInputStillWorks) {
    effect::bloom::BloomEffect bloom;
    const auto scene = Scene(sf::Vector2u(3, 2), sf::Vector2f(1.f, 1.f));
    const sf::Image after = Bloomed(bloom, *scene);
    EXPECT_EQ(after.getSize(), sf::Vector2u(3, 2));
    EXPECT_EQ(bloom.TextureSizes()[2], sf::Vector2u(1, 1));
}

TEST(BloomEffectTest, MissingShaderFilesFailConstruction) {
    // From a directory without ../share the first shader cannot be found.
    const std::filesystem::path previous = std::filesystem::current_path();
    const std::filesystem::path nowhere = std::filesystem::temp_directory_path() / "kirrow-bloom-test" / "bin";
    std::filesystem::create_directories(nowhere);
    std::filesystem::current_path(nowhere);
    std::string message = "no exception";
    try {
        effect::bloom::BloomEffect bloom;
    } catch (const std::runtime_error& error) {
        message = error.what();
    }
    std::filesystem::current_path(previous);
    EXPECT_EQ(message, "Failed to load resource ../share/shader/gaussian_blur.frag");
}

}  // namespace
