// The asset generator makes the same bytes on every run, so builds are reproducible and the
// assets in share/ are exactly what it makes.
#include <asset/sound_format.hpp>
#include <asset/texture_layout.hpp>
#include <holder/resource_id.hpp>

#include "support/helpers.hpp"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>

namespace {

namespace fs = std::filesystem;

std::map<std::string, std::string> ReadTree(const fs::path& root) {
    std::map<std::string, std::string> files;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file()) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        files[fs::relative(entry.path(), root).generic_string()] =
            std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return files;
}

// A run now makes what the build's own run made.
TEST(GeneratorTest, ARunWritesTheBuiltAssetsByteForByte) {
    const fs::path generator = fs::path(KIRROW_BIN_DIR) / ".." / "tools" / "kirrow_assetgen";
    const test::TempDir directory;
    ASSERT_EQ(std::system((generator.string() + " " + directory.Path().string()).c_str()), 0);
    const auto made = ReadTree(directory.Path()), built = ReadTree(KIRROW_SHARE_DIR);
    // Every sheet, sound effect and track, and the icon.
    EXPECT_EQ(made.size(), asset::SHEETS.size() + holder::sound_files.size() + asset::MUSIC_FILES.size() + 1);
    for (const auto& [name, bytes] : made) {
        ASSERT_TRUE(built.count(name)) << name << " missing from share/";
        EXPECT_TRUE(bytes == built.at(name)) << name << " in share/ is not what the generator makes";
    }
}

}  // namespace
