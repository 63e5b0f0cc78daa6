#include <holder/resource_holder.hpp>
#include <holder/resource_id.hpp>

#include "support/helpers.hpp"

#include <gtest/gtest.h>

#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/Shader.hpp>
#include <SFML/Graphics/Texture.hpp>

namespace {

// Tests run from bin/, so the game's relative asset paths resolve as they do for the game.
TEST(ResourceHolderTest, FailedLoadsNameTheFileAndLeaveTheHolderUsable) {
    holder::ResourceHolder<sf::Font, holder::FontId> fonts;
    holder::ResourceHolder<sf::Texture, holder::TextureId> textures;
    holder::ResourceHolder<sf::Shader, holder::ShaderId> shaders;
    const std::pair<std::string, std::string> cases[] = {
        {test::ErrorMessageOf([&] { fonts.Load(holder::FontId::Main, "../share/missing.ttf"); }),
         "../share/missing.ttf"},
        {test::ErrorMessageOf([&] { textures.Load(holder::TextureId::Jungle, "../share/texture/nothing.png"); }),
         "../share/texture/nothing.png"},
        // A shader names the one of its files that failed.
        {test::ErrorMessageOf([&] {
             shaders.Load(holder::ShaderId::AddPass, holder::vertex_shader_file, "../share/shader/none.frag");
         }),
         "../share/shader/none.frag"},
    };
    for (const auto& [message, file] : cases) EXPECT_EQ(message, "Failed to load resource " + file);

    fonts.Load(holder::FontId::Main, holder::FileOf(holder::FontId::Main));
    EXPECT_FALSE(fonts.Get(holder::FontId::Main).getInfo().family.empty());
}

}  // namespace
