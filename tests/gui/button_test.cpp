#include "gui/container.hpp"
#include "gui_test_context.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace {

using gui_test::KeyPress;
using gui_test::Look;
using gui_test::LookOf;
using gui_test::MakeButton;

TEST(ButtonTest, PlainButtonRunsItsCallbackThenClicks) {
    auto& sounds = gui_test::Shared().sounds;
    gui::container::Container container;
    auto button = MakeButton();
    std::vector<std::size_t> sounds_seen_by_callback;
    bool active_in_callback = true;
    button->SetCallback([&] {
        sounds_seen_by_callback.push_back(sounds.StartedSounds());
        active_in_callback = button->IsActive();
    });
    container.Pack(button);
    const std::size_t before = sounds.StartedSounds();

    container.HandleEvent(KeyPress(sf::Keyboard::Enter));
    ASSERT_EQ(sounds_seen_by_callback.size(), 1u);
    EXPECT_EQ(sounds_seen_by_callback[0], before);
    EXPECT_EQ(sounds.StartedSounds(), before + 1);
    EXPECT_TRUE(sounds.LastIsClick());
    EXPECT_FALSE(active_in_callback);
    EXPECT_FALSE(button->IsActive());
    EXPECT_TRUE(button->IsSelected());
    EXPECT_EQ(LookOf(*button), Look::Selected);

    // Not active, so the next key navigates or activates again.
    container.HandleEvent(KeyPress(sf::Keyboard::Space));
    EXPECT_EQ(sounds_seen_by_callback.size(), 2u);
}

TEST(ButtonTest, ButtonWithoutCallbackStillClicks) {
    auto& sounds = gui_test::Shared().sounds;
    auto button = MakeButton();
    const std::size_t before = sounds.StartedSounds();
    button->Activate();
    EXPECT_EQ(sounds.StartedSounds(), before + 1);
    EXPECT_EQ(LookOf(*button), Look::Normal);
}

TEST(ButtonTest, ActiveToggleButtonSwallowsNavigation) {
    gui::container::Container container;
    auto toggle = MakeButton();
    auto other = MakeButton();
    toggle->SetToggle(true);
    int calls = 0;
    toggle->SetCallback([&] { ++calls; });
    container.Pack(toggle);
    container.Pack(other);

    container.HandleEvent(KeyPress(sf::Keyboard::Enter));
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(toggle->IsActive());
    EXPECT_EQ(LookOf(*toggle), Look::Pressed);

    for (auto key : {sf::Keyboard::Down, sf::Keyboard::S, sf::Keyboard::Up, sf::Keyboard::Enter})
        container.HandleEvent(KeyPress(key));
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(toggle->IsSelected());
    EXPECT_FALSE(other->IsSelected());
    EXPECT_EQ(LookOf(*toggle), Look::Pressed);

    toggle->Deactivate();
    EXPECT_EQ(LookOf(*toggle), Look::Selected);
    container.HandleEvent(KeyPress(sf::Keyboard::Down));
    EXPECT_TRUE(other->IsSelected());
    EXPECT_EQ(LookOf(*toggle), Look::Normal);
}

}  // namespace
