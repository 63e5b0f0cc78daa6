#pragma once

#include <filesystem>

namespace assetgen {

// icon.png: the 128x128 program icon (window, desktop menu): a jet climbing out of the jungle.
void MakeIcon(const std::filesystem::path& share);

}  // namespace assetgen
