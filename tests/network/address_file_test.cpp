#include "network/address_file.hpp"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>

namespace {

namespace fs = std::filesystem;

std::string Content(const fs::path& file) {
    std::ifstream input(file);
    std::stringstream content;
    content << input.rdbuf();
    return content.str();
}

// Whatever stands at the path, the game neither blocks nor writes through a link nor over a file
// that holds something; without a word it connects to the loopback address.
struct Kind_t {
    const char* name;
    std::function<void(const fs::path& file, const fs::path& other)> make;
    const char* address;
    bool problem;
    // What the file reads afterwards (through links); nothing when it is not a readable file.
    std::optional<std::string> content;
};

TEST(AddressFileTest, EveryKindOfPathIsReadWithoutBlockingAndWrittenOnlyWhereNothingIsLost) {
    const std::string blanks(5000, ' ');
    const Kind_t kinds[] = {
        {"missing", [](auto&, auto&) {}, "127.0.0.1", false, "127.0.0.1"},
        {"only blanks", [](auto& file, auto&) { std::ofstream(file) << "  \n\t "; }, "127.0.0.1", false, "127.0.0.1"},
        {"first word", [](auto& file, auto&) { std::ofstream(file) << "  192.168.0.7 the office\n"; }, "192.168.0.7", false,
         "  192.168.0.7 the office\n"},
        {"name that may not resolve", [](auto& file, auto&) { std::ofstream(file) << "gamebox.lan"; }, "gamebox.lan", false,
         "gamebox.lan"},
        {"FIFO", [](auto& file, auto&) { mkfifo(file.c_str(), 0600); }, "127.0.0.1", true, std::nullopt},
        {"directory", [](auto& file, auto&) { fs::create_directory(file); }, "127.0.0.1", true, std::nullopt},
        {"link to a word", [](auto& file, auto& other) { std::ofstream(other) << "gamebox"; fs::create_symlink(other, file); },
         "gamebox", false, "gamebox"},
        {"link to an empty file", [](auto& file, auto& other) { std::ofstream{other}; fs::create_symlink(other, file); },
         "127.0.0.1", false, ""},
        {"link to nothing", [](auto& file, auto& other) { fs::create_symlink(other, file); }, "127.0.0.1", false, std::nullopt},
        {"blanks beyond what is read", [&](auto& file, auto&) { std::ofstream(file) << blanks << "gamebox"; }, "127.0.0.1",
         true, blanks + "gamebox"},
    };
    const fs::path directory = fs::temp_directory_path() / ("kirrow-address-" + std::to_string(getpid()));
    for (const Kind_t& kind : kinds) {
        fs::remove_all(directory);
        fs::create_directories(directory);
        const fs::path file = directory / "ip.txt", other = directory / "elsewhere.txt";
        kind.make(file, other);
        const network::ServerAddress_t address = network::ReadAddressFile(file.string());
        EXPECT_EQ(address.name, kind.address) << kind.name;
        EXPECT_EQ(!address.problem.empty(), kind.problem) << kind.name;
        if (kind.content) {
            EXPECT_EQ(Content(file), *kind.content) << kind.name;
        }
        // Nothing is made at the far end of a link.
        EXPECT_TRUE(!fs::is_symlink(file) || fs::exists(other) == kind.content.has_value()) << kind.name;
    }
    fs::remove_all(directory);
}

}  // namespace
