#pragma once

#include "key_binding/player_action.hpp"

#include <SFML/Window/Event.hpp>
#include <SFML/Window/Keyboard.hpp>

#include <array>
#include <functional>
#include <map>
#include <optional>
#include <vector>

namespace input {
class Gamepads;
}

namespace key_binding {

// The keys of one local player, and the gamepad that plays beside them. Every key triggers at
// most one action.
class KeyBinding {
public:
    // Answers whether a key is held down; replaceable so that polling can run without a keyboard.
    using HeldKeySource = std::function<bool(sf::Keyboard::Key)>;

    // Player 1 and 2 start with their default keys, any other number with none.
    explicit KeyBinding(int player_number, HeldKeySource is_key_held = &sf::Keyboard::isKeyPressed);

    // Binds the key to the action alone: the action loses its old key, the key its old action.
    void AssignKey(PlayerAction::t action, sf::Keyboard::Key key);
    // Leaves the action without a key.
    void UnassignAction(PlayerAction::t action);
    // The lowest-coded key bound to the action, or Unknown.
    sf::Keyboard::Key GetAssignedKey(PlayerAction::t action) const;
    std::optional<PlayerAction::t> CheckAction(sf::Keyboard::Key key) const;
    // The realtime actions held now: by key, in key-code order, then those held only by the
    // player's gamepad, in action order.
    std::vector<PlayerAction::t> GetRealtimeActions() const;

    // Player 1 and 2 play with their gamepad too, once they know where pads are.
    void SetGamepads(const input::Gamepads* pads);
    // The realtime actions the player's gamepad holds now; none without one.
    std::array<bool, PlayerAction::COUNT> GetPadActions() const;
    // The one-shot action of a press on the player's gamepad.
    std::optional<PlayerAction::t> CheckPadButton(const sf::Event& event) const;
    bool IsActionKeyHeld(PlayerAction::t action) const;

private:
    std::map<sf::Keyboard::Key, PlayerAction::t> key_map;
    HeldKeySource is_key_held;
    int pad_player;  // the gamepad's player index, -1 for none
    const input::Gamepads* gamepads = nullptr;
};

}  // namespace key_binding
