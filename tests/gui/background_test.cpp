#include "gui/background.hpp"
#include "gui_test_context.hpp"

#include <gtest/gtest.h>

namespace {

using gui::background::Background;

const sf::Color backdrop(255, 0, 255);

// Draws the background over a magenta canvas larger than the view.
sf::Image Paint(const Background& background) {
    sf::RenderTexture target;
    if (!target.create(700, 540)) std::abort();
    target.clear(backdrop);
    target.draw(background);
    target.display();
    return target.getTexture().copyToImage();
}

// How far the picture reaches from the top-left corner, along the top row and the left column.
sf::Vector2u CoveredSize(const sf::Image& image) {
    unsigned width = 0, height = 0;
    while (width < image.getSize().x && image.getPixel(width, 0) != backdrop) ++width;
    while (height < image.getSize().y && image.getPixel(0, height) != backdrop) ++height;
    return {width, height};
}

TEST(BackgroundTest, EveryKindFillsTheViewFromItsRectangle) {
    const sf::Image texture = gui_test::Shared().textures.Get(holder::TextureId::Background).copyToImage();
    for (auto type : {Background::Menu, Background::Loading, Background::Spare}) {
        SCOPED_TRACE(type);
        const sf::Image image = Paint(Background(type, gui_test::Shared().context));
        EXPECT_EQ(CoveredSize(image), sf::Vector2u(640, 480));
        EXPECT_NE(image.getPixel(639, 479), backdrop);
        EXPECT_EQ(image.getPixel(640, 479), backdrop);
        EXPECT_EQ(image.getPixel(639, 480), backdrop);

        // The corners show the corners of the row's rectangle.
        const sf::IntRect rect = gui::background::BACKGROUND_DATA[type].texture_rect;
        const unsigned left = rect.left, top = rect.top;
        const unsigned right = rect.left + rect.width - 1, bottom = rect.top + rect.height - 1;
        EXPECT_EQ(image.getPixel(0, 0), texture.getPixel(left, top));
        EXPECT_EQ(image.getPixel(639, 479), texture.getPixel(right, bottom));
        EXPECT_EQ(image.getPixel(0, 479), texture.getPixel(left, bottom));
        EXPECT_EQ(image.getPixel(639, 0), texture.getPixel(right, top));
    }
}

TEST(BackgroundTest, ScaleIsTakenFromTheViewAtConstruction) {
    auto& services = gui_test::Shared();
    const sf::View game_view = services.window.getView();
    const Background built_at_game_view(Background::Menu, services.context);

    services.window.setView(sf::View(sf::FloatRect(0.f, 0.f, 320.f, 200.f)));
    const Background built_at_small_view(Background::Menu, services.context);
    services.window.setView(game_view);

    EXPECT_EQ(CoveredSize(Paint(built_at_game_view)), sf::Vector2u(640, 480));
    EXPECT_EQ(CoveredSize(Paint(built_at_small_view)), sf::Vector2u(320, 200));
}

}  // namespace
