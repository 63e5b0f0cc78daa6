#pragma once

namespace key_binding {

// What a player can ask of an aircraft. The order is part of the network protocol.
struct PlayerAction {
    enum t {
        MOVE_LEFT,
        MOVE_RIGHT,
        MOVE_UP,
        MOVE_DOWN,
        FIRE,
        LAUNCH_MISSILE,
        COUNT,
    };
};

// Realtime actions act on every update while their key is held; the others once per press.
constexpr bool IsRealtimeAction(PlayerAction::t action) { return action <= PlayerAction::FIRE; }

}  // namespace key_binding
