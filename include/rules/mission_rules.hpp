#pragma once

#include <cstdint>

// Numbers that the game and the game server must agree on. Plain values, so that the server needs
// nothing of the world's drawing code to reach them.
namespace rules {

// Height of the playing field, from the players' start at its bottom to the finish at its top.
inline constexpr float WORLD_HEIGHT = 2500.f;
// The view the game shows, and so the battlefield a server runs without one.
inline constexpr float VIEW_WIDTH = 640.f;
inline constexpr float VIEW_HEIGHT = 480.f;
// The view's scroll speed in units per second; negative is up the world.
inline constexpr float SCROLL_SPEED = -50.f;
// Game logic advances in fixed steps of this many microseconds: a sixtieth of a second.
inline constexpr std::int64_t STEP_MICROSECONDS = 16666;

// Aircraft types are numbered players' first, then enemies'; pickup types from zero. Messages
// carry them as plain integers, and the game's type enumerations are checked against these.
inline constexpr std::int32_t PLAYER_CHARACTER_TYPE_COUNT = 2;
inline constexpr std::int32_t CHARACTER_TYPE_COUNT = 4;
inline constexpr std::int32_t PICKUP_TYPE_COUNT = 4;

}  // namespace rules
