#include "effect/bloom.hpp"

#include <gtest/gtest.h>

#include <SFML/Graphics/CircleShape.hpp>
#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/RenderTexture.hpp>

#include <cstdlib>
#include <utility>

namespace {

int Brightness(sf::Color color) { return color.r + color.g + color.b; }

// A mid-tone green field, lighter than most ground so that it must not glow, with one
// near-white bullet centred at `at`; and the same picture through the bloom.
std::pair<sf::Image, sf::Image> BeforeAndAfter(effect::bloom::BloomEffect& bloom, sf::Vector2u size, sf::Vector2f at) {
    sf::RenderTexture scene, output;
    EXPECT_TRUE(scene.create(size.x, size.y) && output.create(size.x, size.y));
    scene.clear(sf::Color(70, 140, 60));
    sf::CircleShape bullet(4.f);
    bullet.setOrigin(4.f, 4.f);
    bullet.setPosition(at);
    bullet.setFillColor(sf::Color(255, 250, 210));
    scene.draw(bullet);
    scene.display();
    bloom.Apply(scene, output);
    output.display();
    return {scene.getTexture().copyToImage(), output.getTexture().copyToImage()};
}

TEST(BloomEffectTest, GlowsAroundBrightSpotsAndLeavesTheGroundAlone) {
    effect::bloom::BloomEffect bloom;
    // Off-centre vertically, so a picture turned upside down would miss the checks below.
    const auto [before, after] = BeforeAndAfter(bloom, {320, 240}, {80.f, 60.f});
    // Just outside the bullet the ground is lit up; the bullet stays at least as bright.
    for (const auto& [x, y] : {std::pair(90u, 60u), std::pair(80u, 70u), std::pair(70u, 52u)})
        EXPECT_GT(Brightness(after.getPixel(x, y)), Brightness(before.getPixel(x, y)) + 30) << x << "," << y;
    EXPECT_GE(Brightness(after.getPixel(80, 60)), Brightness(before.getPixel(80, 60)));
    // The mirrored place and the far field keep their colour.
    for (const auto& [x, y] : {std::pair(80u, 180u), std::pair(250u, 60u), std::pair(200u, 200u), std::pair(5u, 235u)}) {
        const sf::Color was = before.getPixel(x, y), is = after.getPixel(x, y);
        EXPECT_LE(std::abs(is.r - was.r) + std::abs(is.g - was.g) + std::abs(is.b - was.b), 4) << x << "," << y;
    }
    // A window shrunk to a few pixels still gets work textures of at least one pixel each.
    BeforeAndAfter(bloom, {3, 2}, {1.f, 1.f});
}

}  // namespace
