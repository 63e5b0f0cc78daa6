#pragma once

#include <filesystem>

namespace assetgen {

// Lays every generated texture out on one neutral sheet with its named rectangles outlined, for
// looking at the art as a whole; the ground tile is shown repeated to expose seams.
void WriteContactSheet(const std::filesystem::path& share, const std::filesystem::path& sheet);
// Call once all cairo drawing is done.
void ReleaseFontCaches();

}  // namespace assetgen
