// The asset generator makes the same bytes on every run, so builds are reproducible and the
// assets in share/ are exactly what it makes.
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
        if (!entry.is_regular_file())
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        files[fs::relative(entry.path(), root).generic_string()] =
            std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return files;
}

class GeneratorTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() / ("kirrow_assetgen_" + std::to_string(getpid()));
        fs::remove_all(root);
        fs::create_directories(root);
    }
    void TearDown() override { fs::remove_all(root); }

    fs::path root;
};

TEST_F(GeneratorTest, TwoRunsWriteIdenticalFilesMatchingTheBuiltAssets) {
    const fs::path generator = fs::path(KIRROW_BIN_DIR) / ".." / "tools" / "kirrow_assetgen";
    ASSERT_TRUE(fs::exists(generator)) << generator;
    auto run = [&](const char* dir) {
        return std::async(std::launch::async, [&, dir] {
            const std::string command = generator.string() + " " + (root / dir).string();
            return std::system(command.c_str());
        });
    };
    auto first = run("a");
    auto second = run("b");
    ASSERT_EQ(first.get(), 0);
    ASSERT_EQ(second.get(), 0);

    const auto a = ReadTree(root / "a");
    const auto b = ReadTree(root / "b");
    EXPECT_EQ(a.size(), 20u);  // nine textures, seven sound effects, three tracks, the icon
    ASSERT_EQ(a.size(), b.size());
    const auto built = ReadTree(KIRROW_SHARE_DIR);
    for (const auto& [name, bytes] : a) {
        ASSERT_TRUE(b.count(name)) << name;
        EXPECT_TRUE(bytes == b.at(name)) << name << " differs between runs";
        ASSERT_TRUE(built.count(name)) << name << " missing from share/";
        EXPECT_TRUE(bytes == built.at(name)) << name << " in share/ is not what the generator makes";
    }
}

}  // namespace
