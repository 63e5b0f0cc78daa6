#include "key_binding/key_binding.hpp"
#include "key_binding/key_to_string.hpp"

#include <gtest/gtest.h>

#include <set>

namespace {

using key_binding::KeyBinding;
using key_binding::PlayerAction;
using Keys = std::set<sf::Keyboard::Key>;

KeyBinding::HeldKeySource Holding(Keys held) {
    return [held = std::move(held)](sf::Keyboard::Key key) { return held.count(key) > 0; };
}

TEST(KeyBindingTest, AssigningAKeyTakesItFromItsOldActionAndFreesTheActionsOldKey) {
    KeyBinding binding(1);
    binding.AssignKey(PlayerAction::FIRE, sf::Keyboard::A);

    EXPECT_EQ(binding.CheckAction(sf::Keyboard::A), PlayerAction::FIRE);
    EXPECT_EQ(binding.CheckAction(sf::Keyboard::V), std::nullopt);
    EXPECT_EQ(binding.GetAssignedKey(PlayerAction::FIRE), sf::Keyboard::A);
    EXPECT_EQ(binding.GetAssignedKey(PlayerAction::MOVE_LEFT), sf::Keyboard::Unknown);
    EXPECT_EQ(binding.GetAssignedKey(PlayerAction::MOVE_RIGHT), sf::Keyboard::D);
}

TEST(KeyBindingTest, ReassigningAnActionItsOwnKeyChangesNothing) {
    KeyBinding binding(1);
    binding.AssignKey(PlayerAction::MOVE_UP, sf::Keyboard::W);

    const KeyBinding defaults(1);
    for (int action = 0; action < PlayerAction::COUNT; ++action) {
        const auto a = static_cast<PlayerAction::t>(action);
        EXPECT_EQ(binding.GetAssignedKey(a), defaults.GetAssignedKey(a)) << action;
    }
    EXPECT_EQ(binding.CheckAction(sf::Keyboard::W), PlayerAction::MOVE_UP);
}

TEST(KeyBindingTest, DefaultsOfBothPlayersAndNoneForOthers) {
    const KeyBinding one(1), two(2), three(3);
    EXPECT_EQ(one.GetAssignedKey(PlayerAction::LAUNCH_MISSILE), sf::Keyboard::B);
    EXPECT_EQ(two.GetAssignedKey(PlayerAction::FIRE), sf::Keyboard::Comma);
    EXPECT_EQ(two.GetAssignedKey(PlayerAction::MOVE_DOWN), sf::Keyboard::Down);
    EXPECT_EQ(one.CheckAction(sf::Keyboard::Escape), std::nullopt);
    EXPECT_EQ(two.CheckAction(sf::Keyboard::Escape), std::nullopt);
    for (int key = sf::Keyboard::Unknown; key < sf::Keyboard::KeyCount; ++key)
        EXPECT_EQ(three.CheckAction(static_cast<sf::Keyboard::Key>(key)), std::nullopt) << key;
}

TEST(KeyBindingTest, HeldKeysGiveRealtimeActionsInKeyCodeOrder) {
    const KeyBinding binding(1, Holding({sf::Keyboard::W, sf::Keyboard::V, sf::Keyboard::A}));
    const std::vector<PlayerAction::t> expected = {PlayerAction::MOVE_LEFT, PlayerAction::FIRE, PlayerAction::MOVE_UP};
    EXPECT_EQ(binding.GetRealtimeActions(), expected);
}

TEST(KeyBindingTest, OneShotActionsAndUnboundKeysAreNeverPolled) {
    const KeyBinding binding(1, Holding({sf::Keyboard::B, sf::Keyboard::Escape, sf::Keyboard::Left}));
    EXPECT_TRUE(binding.GetRealtimeActions().empty());
    EXPECT_TRUE(key_binding::IsRealtimeAction(PlayerAction::FIRE));
    EXPECT_FALSE(key_binding::IsRealtimeAction(PlayerAction::LAUNCH_MISSILE));
}

TEST(KeyToStringTest, NamesUnnamedAndOutOfRangeKeys) {
    EXPECT_EQ(KeyToString(sf::Keyboard::Unknown), "Unknown");
    EXPECT_EQ(KeyToString(sf::Keyboard::A), "A");
    EXPECT_EQ(KeyToString(sf::Keyboard::Comma), "Comma");
    EXPECT_EQ(KeyToString(sf::Keyboard::Quote), "Undefined");
    EXPECT_EQ(KeyToString(sf::Keyboard::Tilde), "Undefined");
    EXPECT_EQ(KeyToString(sf::Keyboard::Hyphen), "Undefined");
    EXPECT_EQ(KeyToString(sf::Keyboard::Equal), "Equal");
    EXPECT_EQ(KeyToString(sf::Keyboard::Down), "Down");
    EXPECT_EQ(KeyToString(sf::Keyboard::Numpad9), "Numpad9");
    EXPECT_EQ(KeyToString(sf::Keyboard::F15), "F15");
    EXPECT_EQ(KeyToString(sf::Keyboard::Pause), "Pause");
    EXPECT_EQ(KeyToString(sf::Keyboard::KeyCount), "Undefined");
    EXPECT_EQ(KeyToString(static_cast<sf::Keyboard::Key>(-2)), "Undefined");
}

}  // namespace
