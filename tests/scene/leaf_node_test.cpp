#include "audio/sound_player.hpp"
#include "scene/network_node.hpp"
#include "scene/sound_node.hpp"
#include "scene/sprite_node.hpp"
#include "scene/text_node.hpp"

#include <gtest/gtest.h>

#include <SFML/Graphics/RenderTexture.hpp>

namespace {

TEST(TextNodeTest, StaysCentredAfterALongerString) {
    holder::ResourceHolder<sf::Font, holder::FontId> fonts;
    fonts.Load(holder::FontId::Main, holder::FileOf(holder::FontId::Main));
    scene::TextNode node(fonts, "80 HP");
    EXPECT_EQ(node.GetText().getCharacterSize(), 20u);
    node.SetString("100 HP and a longer line");
    const sf::FloatRect bounds = node.GetText().getLocalBounds();
    EXPECT_FLOAT_EQ(node.GetText().getOrigin().x, bounds.width / 2);
    EXPECT_FLOAT_EQ(node.GetText().getOrigin().y, bounds.height / 2);
}

TEST(SpriteNodeTest, RepeatedTextureTilesALargerRectangle) {
    // A 2x2 texture: left column red, right column blue.
    sf::Image image;
    image.create(2, 2, sf::Color::Red);
    image.setPixel(1, 0, sf::Color::Blue);
    image.setPixel(1, 1, sf::Color::Blue);
    sf::Texture texture;
    ASSERT_TRUE(texture.loadFromImage(image));
    texture.setRepeated(true);

    scene::SpriteNode node(texture, sf::IntRect(0, 0, 8, 4));
    sf::RenderTexture target;
    ASSERT_TRUE(target.create(8, 4));
    target.clear(sf::Color::Black);
    target.draw(node);
    target.display();
    const sf::Image shown = target.getTexture().copyToImage();
    for (unsigned x = 0; x < 8; ++x)
        EXPECT_EQ(shown.getPixel(x, 2), x % 2 ? sf::Color::Blue : sf::Color::Red) << x;
}

}  // namespace

namespace {

TEST(SoundNodeTest, SoundCommandsReachOnlyTheSoundNodeAndPlayAtTheGivenPlace) {
    SoundPlayer player;
    scene::SceneNode root;
    auto node = std::make_unique<scene::SoundNode>(player);
    root.AttachChild(std::move(node));
    root.AttachChild(std::make_unique<scene::NetworkNode>());

    int reached = 0;
    command::Command command;
    command.category = scene::Category::SOUND_EFFECT;
    command.action = command::DerivedAction<scene::SoundNode>([&](scene::SoundNode& sound, sf::Time) {
        ++reached;
        sound.PlaySound(holder::SoundId::Button, {100, 50});
    });
    root.OnCommand(command, sf::Time::Zero);
    EXPECT_EQ(reached, 1);
}

}  // namespace
