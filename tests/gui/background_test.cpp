#include "gui/background.hpp"
#include "gui_test_context.hpp"

#include <gtest/gtest.h>

namespace {

using gui::background::Background;

// How far the picture of a background reaches from the top-left corner of a larger canvas.
sf::Vector2u CoveredSize(const sf::Image& image) {
    unsigned width = 0, height = 0;
    while (width < image.getSize().x && image.getPixel(width, 0) != sf::Color::Transparent) ++width;
    while (height < image.getSize().y && image.getPixel(0, height) != sf::Color::Transparent) ++height;
    return {width, height};
}

TEST(BackgroundTest, EveryKindFillsTheViewItWasBuiltForWithItsWholeRectangle) {
    auto& services = gui_test::Services::Shared();
    const sf::Image texture = services.textures.Get(holder::TextureId::Background).copyToImage();
    for (auto type : {Background::Menu, Background::Loading, Background::Spare}) {
        SCOPED_TRACE(type);
        const sf::Image image = gui_test::Picture(Background(type, services.context), {700, 540});
        EXPECT_EQ(CoveredSize(image), sf::Vector2u(640, 480));
        // The corners show the corners of the row's rectangle.
        const sf::IntRect rect = gui::background::BACKGROUND_DATA[type].texture_rect;
        const unsigned left = rect.left, top = rect.top;
        const unsigned right = rect.left + rect.width - 1, bottom = rect.top + rect.height - 1;
        EXPECT_EQ(image.getPixel(0, 0), texture.getPixel(left, top));
        EXPECT_EQ(image.getPixel(639, 479), texture.getPixel(right, bottom));
        EXPECT_EQ(image.getPixel(0, 479), texture.getPixel(left, bottom));
        EXPECT_EQ(image.getPixel(639, 0), texture.getPixel(right, top));
    }

    const sf::View game_view = services.window.getView();
    services.window.setView(sf::View(sf::FloatRect(0.f, 0.f, 320.f, 200.f)));
    const Background built_at_small_view(Background::Menu, services.context);
    services.window.setView(game_view);
    EXPECT_EQ(CoveredSize(gui_test::Picture(built_at_small_view, {700, 540})), sf::Vector2u(320, 200));
}

}  // namespace
