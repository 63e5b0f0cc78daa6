#pragma once

#include <filesystem>

namespace assetgen {

// texture/jungle.png: a 512 x 512 ground tile (canopy, clearings and a winding river) whose edges
// wrap, so it repeats without seams over the whole world.
void MakeJungleTexture(const std::filesystem::path& share);
// texture/finish.png: the chequered finish line across the 640-wide world.
void MakeFinishTexture(const std::filesystem::path& share);

}  // namespace assetgen
