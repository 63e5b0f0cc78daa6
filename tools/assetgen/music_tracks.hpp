#pragma once

#include <filesystem>

namespace assetgen {

// music/menu.mp3, music/mission.mp3 and music/game_over.mp3: seamless loops of at least 30 s.
void MakeMusic(const std::filesystem::path& share);

}  // namespace assetgen
