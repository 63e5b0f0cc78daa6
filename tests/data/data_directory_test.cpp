#include "data/data_directory.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// Builds an installed game (prefix/bin, prefix/share/kirrow) and a build tree (bin, share) side
// by side, and looks for their data from an unrelated working directory.
TEST(DataDirectoryTest, FoundBesideTheExecutableFromAnyWorkingDirectory) {
    std::string pattern = (fs::temp_directory_path() / "kirrow_data_XXXXXX").string();
    const fs::path root = mkdtemp(pattern.data());
    for (const char* dir : {"prefix/bin", "prefix/share/kirrow", "tree/bin", "tree/share", "elsewhere"})
        fs::create_directories(root / dir);
    const fs::path before = fs::current_path();
    fs::current_path(root / "elsewhere");

    EXPECT_EQ(data::FindDataDirectory(root / "prefix/bin/kirrow", nullptr), (root / "prefix/share/kirrow").string());
    EXPECT_EQ(data::FindDataDirectory(root / "tree/bin/kirrow", nullptr), (root / "tree/share").string());
    EXPECT_EQ(data::FindDataDirectory(root / "tree/bin/kirrow", "/opt/kirrow-data/"), "/opt/kirrow-data");
    EXPECT_EQ(data::FindDataDirectory(root / "tree/bin/kirrow", ""), (root / "tree/share").string());
    // Started from its own bin/, the game names its files as it always did.
    fs::current_path(root / "tree/bin");
    EXPECT_EQ(data::FindDataDirectory(root / "tree/bin/kirrow", nullptr), "../share");
    EXPECT_EQ(data::FindDataDirectory("", nullptr), "../share");

    fs::current_path(before);
    fs::remove_all(root);
}

}  // namespace
