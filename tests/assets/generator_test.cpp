// The asset generator makes the same bytes on every run, so builds are reproducible and the
// assets in share/ are exactly what it makes.
#include <asset/sound_format.hpp>
#include <asset/texture_layout.hpp>
#include <holder/resource_id.hpp>

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>
#include <map>
#include <string>

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

TEST(GeneratorTest, TwoRunsWriteIdenticalFilesMatchingTheBuiltAssets) {
    const fs::path generator = fs::path(KIRROW_BIN_DIR) / ".." / "tools" / "kirrow_assetgen";
    ASSERT_TRUE(fs::exists(generator)) << generator;
    const fs::path root = fs::temp_directory_path() / ("kirrow_assetgen_" + std::to_string(getpid()));
    fs::remove_all(root);
    auto run = [&](const char* dir) {
        return std::async(std::launch::async, [command = generator.string() + " " + (root / dir).string()] {
            return std::system(command.c_str());
        });
    };
    auto first = run("a"), second = run("b");
    const int first_status = first.get(), second_status = second.get();
    const auto a = ReadTree(root / "a"), b = ReadTree(root / "b");
    fs::remove_all(root);
    ASSERT_EQ(first_status, 0);
    ASSERT_EQ(second_status, 0);

    // Every sheet, sound effect and track, and the icon.
    EXPECT_EQ(a.size(), asset::SHEETS.size() + holder::sound_files.size() + asset::MUSIC_FILES.size() + 1);
    EXPECT_EQ(b.size(), a.size());
    const auto built = ReadTree(KIRROW_SHARE_DIR);
    for (const auto& [name, bytes] : a) {
        EXPECT_TRUE(b.count(name) && bytes == b.at(name)) << name << " differs between runs";
        ASSERT_TRUE(built.count(name)) << name << " missing from share/";
        EXPECT_TRUE(bytes == built.at(name)) << name << " in share/ is not what the generator makes";
    }
}

}  // namespace
