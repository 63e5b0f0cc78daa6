#pragma once

#include <filesystem>

namespace assetgen {

// sound/*.wav: the seven mono effects (gunfire of both sides, two explosions, missile launch,
// pickup chime and button click).
void MakeSoundEffects(const std::filesystem::path& share);

}  // namespace assetgen
