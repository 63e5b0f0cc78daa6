#include "key_binding/key_binding.hpp"
#include "key_binding/key_to_string.hpp"

#include <gtest/gtest.h>

#include <set>

namespace {

using key_binding::KeyBinding;
using key_binding::PlayerAction;

TEST(KeyBindingTest, AssigningAKeyTakesItFromItsOldActionAndFreesTheActionsOldKey) {
    KeyBinding binding(1);
    binding.AssignKey(PlayerAction::MOVE_UP, sf::Keyboard::W);  // its own key again: no change
    binding.AssignKey(PlayerAction::FIRE, sf::Keyboard::A);
    EXPECT_EQ(binding.CheckAction(sf::Keyboard::A), PlayerAction::FIRE);
    EXPECT_EQ(binding.CheckAction(sf::Keyboard::V), std::nullopt);
    EXPECT_EQ(binding.CheckAction(sf::Keyboard::W), PlayerAction::MOVE_UP);
    EXPECT_EQ(binding.GetAssignedKey(PlayerAction::FIRE), sf::Keyboard::A);
    EXPECT_EQ(binding.GetAssignedKey(PlayerAction::MOVE_LEFT), sf::Keyboard::Unknown);
    EXPECT_EQ(binding.GetAssignedKey(PlayerAction::MOVE_RIGHT), sf::Keyboard::D);
}

TEST(KeyBindingTest, HeldKeysGiveRealtimeActionsInKeyCodeOrderAndNeverMissiles) {
    const std::set<sf::Keyboard::Key> held = {sf::Keyboard::W, sf::Keyboard::V, sf::Keyboard::A, sf::Keyboard::B,
                                              sf::Keyboard::Escape, sf::Keyboard::Left};
    const KeyBinding binding(1, [&](sf::Keyboard::Key key) { return held.count(key) > 0; });
    const std::vector<PlayerAction::t> expected = {PlayerAction::MOVE_LEFT, PlayerAction::FIRE, PlayerAction::MOVE_UP};
    EXPECT_EQ(binding.GetRealtimeActions(), expected);
}

TEST(KeyToStringTest, NamesKeysAndMarksTheUnnamedAndOutOfRange) {
    const std::pair<int, const char*> cases[] = {
        {sf::Keyboard::Unknown, "Unknown"}, {sf::Keyboard::A, "A"},          {sf::Keyboard::Comma, "Comma"},
        {sf::Keyboard::Quote, "Undefined"}, {sf::Keyboard::Tilde, "Undefined"}, {sf::Keyboard::Hyphen, "Undefined"},
        {sf::Keyboard::Equal, "Equal"},     {sf::Keyboard::Down, "Down"},    {sf::Keyboard::Numpad9, "Numpad9"},
        {sf::Keyboard::F15, "F15"},         {sf::Keyboard::Pause, "Pause"},  {sf::Keyboard::KeyCount, "Undefined"},
        {-2, "Undefined"},
    };
    for (const auto& [key, name] : cases) EXPECT_EQ(KeyToString(static_cast<sf::Keyboard::Key>(key)), name) << key;
}

}  // namespace
