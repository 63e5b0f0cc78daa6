#pragma once

#include <cstddef>
#include <cstdint>

namespace state {

// Screen kinds; the values index the stack's factory table.
enum class StateId : std::uint32_t {
    None,
    Title,
    Menu,
    Loading,
    Game,
    HostGame,
    JoinGame,
    Settings,
    Pause,
    NetworkPause,
    MissionFailed,
    MissionSuccess,
};

inline constexpr std::size_t state_id_count = 12;

}  // namespace state
