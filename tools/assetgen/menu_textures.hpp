#pragma once

#include <filesystem>

namespace assetgen {

// button.png: three 200x50 looks stacked (normal, selected, pressed).
void MakeButtonTexture(const std::filesystem::path& share);
// background.png: the menu and loading backdrops at their fixed rectangles.
void MakeBackgroundTexture(const std::filesystem::path& share);

}  // namespace assetgen
