#include "gui/container.hpp"
#include "gui/label.hpp"
#include "gui_test_context.hpp"

#include <gtest/gtest.h>

#include <memory>

namespace {

using gui_test::KeyPress;
using gui_test::KeyRelease;
using gui_test::MakeButton;

std::shared_ptr<gui::label::Label> MakeLabel() {
    return std::make_shared<gui::label::Label>("label", gui_test::Shared().fonts);
}

TEST(ContainerTest, FirstSelectablePackedChildIsSelected) {
    gui::container::Container after_label;
    auto label = MakeLabel();
    auto button = MakeButton();
    after_label.Pack(label);
    after_label.Pack(button);
    EXPECT_FALSE(label->IsSelected());
    EXPECT_TRUE(button->IsSelected());

    gui::container::Container buttons;
    auto first = MakeButton();
    auto second = MakeButton();
    buttons.Pack(first);
    buttons.Pack(second);
    EXPECT_TRUE(first->IsSelected());
    EXPECT_FALSE(second->IsSelected());
}

TEST(ContainerTest, NavigationSkipsLabelsAndWraps) {
    gui::container::Container container;
    auto top = MakeButton();
    auto bottom = MakeButton();
    container.Pack(top);
    container.Pack(MakeLabel());
    container.Pack(bottom);

    container.HandleEvent(KeyPress(sf::Keyboard::Down));
    EXPECT_TRUE(bottom->IsSelected());
    EXPECT_FALSE(top->IsSelected());
    container.HandleEvent(KeyPress(sf::Keyboard::Down));
    EXPECT_TRUE(top->IsSelected());
    EXPECT_FALSE(bottom->IsSelected());
    container.HandleEvent(KeyPress(sf::Keyboard::Up));
    EXPECT_TRUE(bottom->IsSelected());

    // W and S are the same moves; only presses count, so a held key moves once.
    container.HandleEvent(KeyPress(sf::Keyboard::S));
    EXPECT_TRUE(top->IsSelected());
    container.HandleEvent(KeyRelease(sf::Keyboard::S));
    container.HandleEvent(KeyRelease(sf::Keyboard::Down));
    EXPECT_TRUE(top->IsSelected());
    container.HandleEvent(KeyPress(sf::Keyboard::W));
    EXPECT_TRUE(bottom->IsSelected());
    EXPECT_EQ(gui_test::LookOf(*top), gui_test::Look::Normal);
    EXPECT_EQ(gui_test::LookOf(*bottom), gui_test::Look::Selected);
}

TEST(ContainerTest, SingleSelectableChildStaysSelected) {
    gui::container::Container container;
    auto only = MakeButton();
    container.Pack(MakeLabel());
    container.Pack(only);
    container.Pack(MakeLabel());
    for (auto key : {sf::Keyboard::Down, sf::Keyboard::Up, sf::Keyboard::S, sf::Keyboard::W}) {
        container.HandleEvent(KeyPress(key));
        EXPECT_TRUE(only->IsSelected());
        EXPECT_EQ(gui_test::LookOf(*only), gui_test::Look::Selected);
    }
}

TEST(ContainerTest, WithoutSelectableChildrenEveryKeyIsIgnored) {
    gui::container::Container container;
    auto first = MakeLabel();
    auto second = MakeLabel();
    container.Pack(first);
    container.Pack(second);
    for (auto key : {sf::Keyboard::Enter, sf::Keyboard::Space, sf::Keyboard::Down, sf::Keyboard::Up})
        container.HandleEvent(KeyPress(key));
    EXPECT_FALSE(first->IsSelected() || first->IsActive());
    EXPECT_FALSE(second->IsSelected() || second->IsActive());

    gui::container::Container empty;
    empty.HandleEvent(KeyPress(sf::Keyboard::Enter));
    empty.HandleEvent(KeyPress(sf::Keyboard::Down));
}

TEST(ContainerTest, OtherEventsDoNotActivate) {
    gui::container::Container container;
    int calls = 0;
    auto button = MakeButton();
    button->SetCallback([&] { ++calls; });
    container.Pack(button);

    sf::Event text{};
    text.type = sf::Event::TextEntered;
    text.text.unicode = '\r';
    container.HandleEvent(text);
    container.HandleEvent(KeyRelease(sf::Keyboard::Enter));
    container.HandleEvent(KeyPress(sf::Keyboard::Escape));
    container.HandleEvent(KeyPress(sf::Keyboard::Right));
    EXPECT_EQ(calls, 0);
    container.HandleEvent(KeyPress(sf::Keyboard::Space));
    EXPECT_EQ(calls, 1);
}

}  // namespace
