#include "gui_test_context.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

using gui_test::Look;
using gui_test::LookOf;
using gui_test::MakeButton;

TEST(ButtonTest, ActivationRunsTheCallbackThenClicksAndOnlyAToggleStaysPressed) {
    auto& sounds = gui_test::Services::Shared().sounds;
    sounds.sounds.clear();
    auto button = MakeButton();
    std::vector<std::size_t> sounds_seen_by_callback;
    button->SetCallback([&] { sounds_seen_by_callback.push_back(sounds.Heard().size()); });
    EXPECT_EQ(LookOf(*button), Look::Normal);
    button->Select();
    button->Activate();
    EXPECT_EQ(sounds_seen_by_callback, std::vector<std::size_t>{0});
    ASSERT_EQ(sounds.Heard().size(), 1u);
    EXPECT_EQ(sounds.Heard().back().id, holder::SoundId::Button);
    EXPECT_FALSE(button->IsActive());
    EXPECT_EQ(LookOf(*button), Look::Selected);

    auto toggle = MakeButton();  // without a callback, it still clicks
    toggle->SetToggle(true);
    toggle->Activate();
    EXPECT_EQ(sounds.Heard().size(), 2u);
    EXPECT_TRUE(toggle->IsActive());
    EXPECT_EQ(LookOf(*toggle), Look::Pressed);
    toggle->Select();
    toggle->Deactivate();
    EXPECT_EQ(LookOf(*toggle), Look::Selected);
    toggle->Deselect();
    EXPECT_EQ(LookOf(*toggle), Look::Normal);
}

// The caption is what a button draws beyond its caption-less self; its middle is the button's,
// up to the first glyph's small left bearing.
TEST(ButtonTest, CaptionSitsInTheMiddleOfTheButton) {
    const sf::Image plain = gui_test::Picture(*MakeButton());
    for (const char* caption : {"Play", "Settings", "Launch missile"}) {
        const sf::Image drawn = gui_test::Picture(*MakeButton(caption));
        unsigned left = 200, right = 0, top = 50, bottom = 0;
        for (unsigned y = 0; y < 50; ++y)
            for (unsigned x = 0; x < 200; ++x)
                if (drawn.getPixel(x, y) != plain.getPixel(x, y)) {
                    left = std::min(left, x), right = std::max(right, x + 1);
                    top = std::min(top, y), bottom = std::max(bottom, y + 1);
                }
        ASSERT_LT(left, right) << caption;
        EXPECT_NEAR((left + right) / 2.f, 100.f, 3.f) << caption;
        EXPECT_NEAR((top + bottom) / 2.f, 25.f, 2.f) << caption;
        EXPECT_GE(left, 8u) << caption << " runs over the rim";
    }
}

}  // namespace
