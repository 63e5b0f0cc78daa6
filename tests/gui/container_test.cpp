#include "gui/container.hpp"
#include "gui_test_context.hpp"

#include <gtest/gtest.h>

#include <memory>

namespace {

using gui_test::MakeButton;
using test::KeyPress;
using test::KeyRelease;

// A menu column: a label, a plain button, a label, a toggle button, driven key by key.
TEST(ContainerTest, KeysMoveTheSelectionOverLabelsAndActivateTheSelectedButton) {
    gui::container::Container container;
    auto label = std::make_shared<gui::label::Label>("label", gui_test::Services::Shared().fonts);
    auto plain = MakeButton();
    auto toggle = MakeButton();
    toggle->SetToggle(true);
    int plain_calls = 0, toggle_calls = 0;
    plain->SetCallback([&] { ++plain_calls; });
    toggle->SetCallback([&] { ++toggle_calls; });
    for (const auto& child : std::initializer_list<std::shared_ptr<gui::component::Component>>{label, plain, label, toggle})
        container.Pack(child);

    sf::Event text{};
    text.type = sf::Event::TextEntered;
    text.text.unicode = '\r';
    struct Step_t {
        sf::Event event;
        bool plain_selected;
        int plain_calls;
        int toggle_calls;
    };
    const Step_t steps[] = {
        {KeyRelease(sf::Keyboard::Down), true, 0, 0},  // the first button starts selected; releases do nothing
        {KeyPress(sf::Keyboard::Right), true, 0, 0},   {text, true, 0, 0},
        {KeyPress(sf::Keyboard::Enter), true, 1, 0},   {KeyPress(sf::Keyboard::Space), true, 2, 0},
        {KeyPress(sf::Keyboard::Down), false, 2, 0},   {KeyPress(sf::Keyboard::Down), true, 2, 0},  // wraps
        {KeyPress(sf::Keyboard::Up), false, 2, 0},     {KeyPress(sf::Keyboard::W), true, 2, 0},
        {KeyPress(sf::Keyboard::S), false, 2, 0},      {KeyPress(sf::Keyboard::Space), false, 2, 1},
        // The active toggle swallows every key until it is deactivated.
        {KeyPress(sf::Keyboard::Up), false, 2, 1},     {KeyPress(sf::Keyboard::Enter), false, 2, 1},
    };
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        container.HandleEvent(steps[i].event);
        EXPECT_EQ(plain->IsSelected(), steps[i].plain_selected) << i;
        EXPECT_NE(plain->IsSelected(), toggle->IsSelected()) << i;
        EXPECT_EQ(plain_calls, steps[i].plain_calls) << i;
        EXPECT_EQ(toggle_calls, steps[i].toggle_calls) << i;
    }
    EXPECT_FALSE(label->IsSelected());
    toggle->Deactivate();
    container.HandleEvent(KeyPress(sf::Keyboard::Up));
    EXPECT_TRUE(plain->IsSelected());
    EXPECT_EQ(gui_test::LookOf(*toggle), gui_test::Look::Normal);
}

TEST(ContainerTest, ALoneButtonStaysSelectedAndLabelsAloneIgnoreEveryKey) {
    gui::container::Container single, labels, empty;
    auto only = MakeButton();
    auto label = std::make_shared<gui::label::Label>("label", gui_test::Services::Shared().fonts);
    single.Pack(label);
    single.Pack(only);
    labels.Pack(label);
    for (auto key : {sf::Keyboard::Down, sf::Keyboard::Up, sf::Keyboard::Enter, sf::Keyboard::Space}) {
        for (auto* container : {&single, &labels, &empty}) container->HandleEvent(KeyPress(key));
        EXPECT_TRUE(only->IsSelected());
    }
    EXPECT_FALSE(label->IsSelected() || label->IsActive());
}

}  // namespace
