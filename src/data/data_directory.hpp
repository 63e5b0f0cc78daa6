#pragma once

#include <filesystem>
#include <string>

namespace data {

// Where the game's data is, for an executable at `executable`: `override_directory` when given
// (KIRROW_DATA); else share/kirrow beside an installed game's bin/, or the share/ beside a build
// tree's bin/. Written as "../share" when that is the same directory seen from the working
// directory, so that paths in messages stay as short as they were.
std::string FindDataDirectory(const std::filesystem::path& executable, const char* override_directory);

// The running program's own file; empty when the system does not say.
std::filesystem::path ExecutablePath();

}  // namespace data
