#pragma once

#include "input/pad_source.hpp"
#include "key_binding/player_action.hpp"

#include <SFML/Window/Event.hpp>

#include <array>
#include <optional>

namespace input {

// Which gamepad plays for which local player, and what it asks for. The first pad connected
// plays as player 1, the second as player 2; a pad that leaves frees its player's place for the
// next one to arrive, and the other player keeps theirs.
class Gamepads {
public:
    static constexpr int player_count = 2;
    using HeldActions = std::array<bool, key_binding::PlayerAction::COUNT>;

    // Takes the pads connected now, in the system's order.
    explicit Gamepads(const PadSource& source);

    // Follows connections and disconnections; every other event is left alone.
    void HandleEvent(const sf::Event& event);

    std::optional<unsigned> PadOf(int player) const;
    // The realtime actions the player's pad holds now: stick past the dead zone or d-pad for
    // movement, the A button for fire.
    HeldActions GetHeldActions(int player) const;
    // The one-shot action of a button press on the player's pad (B: missile).
    std::optional<key_binding::PlayerAction::t> CheckButtonPress(int player, const sf::Event& event) const;

private:
    void Connect(unsigned pad);

    const PadSource& source;
    std::array<std::optional<unsigned>, player_count> slots;
};

}  // namespace input
