#include <holder/resource_holder.hpp>
#include <holder/resource_id.hpp>

#include <gtest/gtest.h>

#include <SFML/Audio/SoundBuffer.hpp>
#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/Shader.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <string>

namespace {

// Tests run from bin/, so the game's relative asset paths resolve as they do for the game.
std::string LoadError(auto&& load) {
    try {
        load();
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return "no exception";
}

TEST(ResourceHolderTest, FailedLoadLeavesTheHolderUsable) {
    holder::ResourceHolder<sf::Font, holder::FontId> fonts;
    EXPECT_EQ(LoadError([&] { fonts.Load(holder::FontId::Main, "../share/missing.ttf"); }),
              "Failed to load resource ../share/missing.ttf");
    fonts.Load(holder::FontId::Main, holder::FileOf(holder::FontId::Main));
    EXPECT_FALSE(fonts.Get(holder::FontId::Main).getInfo().family.empty());
}

TEST(ResourceHolderTest, MissingTextureMessageEndsWithItsPath) {
    holder::ResourceHolder<sf::Texture, holder::TextureId> textures;
    EXPECT_EQ(LoadError([&] { textures.Load(holder::TextureId::Jungle, "../share/texture/nothing.png"); }),
              "Failed to load resource ../share/texture/nothing.png");
}

TEST(ResourceHolderTest, ShaderFailureNamesTheFileAtFault) {
    holder::ResourceHolder<sf::Shader, holder::ShaderId> shaders;
    EXPECT_EQ(LoadError([&] {
                  shaders.Load(holder::ShaderId::AddPass, holder::vertex_shader_file, "../share/shader/none.frag");
              }),
              "Failed to load resource ../share/shader/none.frag");
}

TEST(ResourceHolderTest, TwoHoldersLoadTheSameIdentifierIndependently) {
    holder::ResourceHolder<sf::Texture, holder::TextureId> menus;
    holder::ResourceHolder<sf::Texture, holder::TextureId> game;
    menus.Load(holder::TextureId::Button, holder::FileOf(holder::TextureId::Button));
    game.Load(holder::TextureId::Button, holder::FileOf(holder::TextureId::Button));
    EXPECT_NE(&menus.Get(holder::TextureId::Button), &game.Get(holder::TextureId::Button));
    EXPECT_EQ(game.Get(holder::TextureId::Button).getSize(), sf::Vector2u(200, 150));
}

TEST(ResourceHolderDeathTest, LoadingTwiceOrGettingTheUnloadedAsserts) {
    holder::ResourceHolder<sf::Font, holder::FontId> fonts;
    EXPECT_DEATH(fonts.Get(holder::FontId::Main), "found != resource_by_id.end()");
    fonts.Load(holder::FontId::Main, holder::FileOf(holder::FontId::Main));
    EXPECT_DEATH(fonts.Load(holder::FontId::Main, holder::FileOf(holder::FontId::Main)), "inserted.second");
}

}  // namespace
