#include "gui/background.hpp"
#include "gui/container.hpp"
#include "gui/label.hpp"
#include "gui_test_context.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using gui_test::KeyPress;

struct Box {
    unsigned left = ~0u, top = ~0u, right = 0, bottom = 0;
    bool Empty() const { return right < left; }
    float CentreX() const { return (left + right + 1) / 2.f; }
    float CentreY() const { return (top + bottom + 1) / 2.f; }
};

// The extent of the mostly white caption pixels inside a button's face. The search stays
// inside the rim, which is light on the selected look (and yellowish, unlike the caption).
Box CaptionBox(const sf::Image& image, unsigned button_left, unsigned button_top) {
    Box box;
    for (unsigned y = button_top + 4; y < button_top + 47; ++y)
        for (unsigned x = button_left + 4; x < button_left + 196; ++x) {
            const sf::Color c = image.getPixel(x, y);
            if (std::min({c.r, c.g, c.b}) < 170 || c.b + 8 < c.r) continue;
            box.left = std::min(box.left, x);
            box.right = std::max(box.right, x);
            box.top = std::min(box.top, y);
            box.bottom = std::max(box.bottom, y);
        }
    return box;
}

// A menu-like screen: background, a column of buttons with the second one selected, and a
// label. Saved as a picture for a person to look at, and measured here.
TEST(ScreenPictureTest, MenuColumnShowsCentredCaptions) {
    auto& services = gui_test::Shared();
    const gui::background::Background background(gui::background::Background::Menu, services.context);
    gui::container::Container container;
    const std::vector<std::string> captions = {"Play", "Host", "Join", "Settings", "Exit"};
    for (std::size_t i = 0; i < captions.size(); ++i) {
        auto button = gui_test::MakeButton(captions[i].c_str());
        button->setPosition(100.f, 150.f + 50.f * i);
        container.Pack(button);
    }
    auto label = std::make_shared<gui::label::Label>("Enter picks", services.fonts);
    label->setPosition(320.f, 160.f);
    container.Pack(label);
    container.HandleEvent(KeyPress(sf::Keyboard::Down));

    sf::RenderTexture target;
    ASSERT_TRUE(target.create(640, 480));
    target.clear();
    target.draw(background);
    target.draw(container);
    target.display();
    const sf::Image image = target.getTexture().copyToImage();
    const auto shots = std::filesystem::path(KIRROW_BIN_DIR) / ".." / "gui-shots";
    std::filesystem::create_directories(shots);
    ASSERT_TRUE(image.saveToFile((shots / "menu_column.png").string()));

    // Captions sit in the middle of their buttons: vertically by their glyphs, horizontally by
    // the text's advance (off by the first glyph's small left bearing).
    for (std::size_t i = 0; i < captions.size(); ++i) {
        SCOPED_TRACE(captions[i]);
        const sf::FloatRect bounds = sf::Text(captions[i], services.fonts.Get(holder::FontId::Main), 30).getLocalBounds();
        const unsigned top = 150 + 50 * static_cast<unsigned>(i);
        const Box box = CaptionBox(image, 100, top);
        ASSERT_FALSE(box.Empty());
        EXPECT_NEAR(box.CentreX(), 200.f + bounds.left, 2.f);
        EXPECT_NEAR(box.CentreY(), top + 25.f, 2.f);
    }
}

}  // namespace
