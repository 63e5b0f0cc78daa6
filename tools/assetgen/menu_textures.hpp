#pragma once

#include <filesystem>

namespace assetgen {

// texture/button.png: three 200x50 looks stacked (normal, selected, pressed).
void MakeButtonTexture(const std::filesystem::path& share);
// texture/background.png: jungle-and-sky scenes at the menu, loading and spare rectangles.
void MakeBackgroundTexture(const std::filesystem::path& share);

}  // namespace assetgen
