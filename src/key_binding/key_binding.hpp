#pragma once

#include "key_binding/player_action.hpp"

#include <SFML/Window/Keyboard.hpp>

#include <functional>
#include <map>
#include <optional>
#include <vector>

namespace key_binding {

// The keys of one local player. Every key triggers at most one action.
class KeyBinding {
public:
    // Answers whether a key is held down; replaceable so that polling can run without a keyboard.
    using HeldKeySource = std::function<bool(sf::Keyboard::Key)>;

    // Player 1 and 2 start with their default keys, any other number with none.
    explicit KeyBinding(int player_number, HeldKeySource is_key_held = &sf::Keyboard::isKeyPressed);

    // Binds the key to the action alone: the action loses its old key, the key its old action.
    void AssignKey(PlayerAction::t action, sf::Keyboard::Key key);
    // The lowest-coded key bound to the action, or Unknown.
    sf::Keyboard::Key GetAssignedKey(PlayerAction::t action) const;
    std::optional<PlayerAction::t> CheckAction(sf::Keyboard::Key key) const;
    // The realtime actions whose keys are held now, in key-code order.
    std::vector<PlayerAction::t> GetRealtimeActions() const;

private:
    std::map<sf::Keyboard::Key, PlayerAction::t> key_map;
    HeldKeySource is_key_held;
};

}  // namespace key_binding
