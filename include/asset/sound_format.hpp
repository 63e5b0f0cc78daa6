#pragma once

#include <array>
#include <string_view>

// The form of the generated sounds and music, which the game's players and the asset tests rely on.
namespace asset {

inline constexpr int SAMPLE_RATE = 44100;
// Sound effects are mono: OpenAL places only mono sources in space.
inline constexpr int EFFECT_CHANNELS = 1;
inline constexpr int MUSIC_CHANNELS = 2;
// Effects are short; music tracks are loops at least this long, so the repetition is not tiresome.
inline constexpr double MAX_EFFECT_SECONDS = 3.0;
inline constexpr double MIN_TRACK_SECONDS = 30.0;

// Under share/music.
inline constexpr std::array<std::string_view, 3> MUSIC_FILES{"menu.mp3", "mission.mp3", "game_over.mp3"};

}  // namespace asset
