#include <holder/resource_holder.hpp>
#include <holder/resource_id.hpp>

#include "support/helpers.hpp"

#include <SFML/Graphics/Shader.hpp>

namespace {

// Tests run from bin/, so the game's relative asset paths resolve as they do for the game.
TEST(ResourceHolderTest, FailedLoadsNameTheFileAndLeaveTheHolderUsable) {
    holder::ResourceHolder<sf::Font, holder::FontId> fonts;
    EXPECT_EQ(test::ErrorMessageOf([&] { fonts.Load(holder::FontId::Main, "../share/missing.ttf"); }),
              "Failed to load resource ../share/missing.ttf");
    fonts.Load(holder::FontId::Main, holder::FileOf(holder::FontId::Main));
    EXPECT_FALSE(fonts.Get(holder::FontId::Main).getInfo().family.empty());

    // A shader names the one of its files that failed.
    holder::ResourceHolder<sf::Shader, holder::ShaderId> shaders;
    const char* const missing = "../share/shader/none.frag";
    EXPECT_EQ(test::ErrorMessageOf([&] { shaders.Load(holder::ShaderId::AddPass, holder::vertex_shader_file, missing); }),
              std::string("Failed to load resource ") + missing);
}

}  // namespace
