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

// Whatever stands there, reading never blocks nor writes through a link or over a file's content.
struct Kind_t {
    std::function<void(const fs::path& file, const fs::path& elsewhere)> make;
    const char* address;
    bool problem;
    // What the file reads afterwards, through links; nothing where it is not a file.
    std::optional<std::string> content;
};

TEST(AddressFileTest, EveryKindOfPathIsReadWithoutBlockingAndWrittenOnlyWhereNothingIsLost) {
    const auto write = [](const fs::path& path, const std::string& text) { std::ofstream(path) << text; };
    const auto link = [&write](const fs::path& file, const fs::path& elsewhere, const std::string& text) {
        write(elsewhere, text);
        fs::create_symlink(elsewhere, file);
    };
    const std::string blanks(5000, ' ');
    const Kind_t kinds[] = {
        {[](auto&, auto&) {}, "127.0.0.1", false, "127.0.0.1"},
        {[&](auto& file, auto&) { write(file, "  \n\t "); }, "127.0.0.1", false, "127.0.0.1"},
        {[&](auto& file, auto&) { write(file, "  192.168.0.7 office\n"); }, "192.168.0.7", false, "  192.168.0.7 office\n"},
        {[](auto& file, auto&) { mkfifo(file.c_str(), 0600); }, "127.0.0.1", true, std::nullopt},
        {[](auto& file, auto&) { fs::create_directory(file); }, "127.0.0.1", true, std::nullopt},
        {[&](auto& file, auto& elsewhere) { link(file, elsewhere, "gamebox"); }, "gamebox", false, "gamebox"},
        {[&](auto& file, auto& elsewhere) { link(file, elsewhere, ""); }, "127.0.0.1", false, ""},
        {[](auto& file, auto& elsewhere) { fs::create_symlink(elsewhere, file); }, "127.0.0.1", false, std::nullopt},
        {[&](auto& file, auto&) { write(file, blanks + "gamebox"); }, "127.0.0.1", true, blanks + "gamebox"},  // beyond what is read
        {[&](auto& file, auto&) { write(file, "gamebox:99999\n"); }, "127.0.0.1", true, "gamebox:99999\n"},
    };
    const fs::path directory = fs::temp_directory_path() / ("kirrow-address-" + std::to_string(getpid()));
    for (std::size_t i = 0; i < std::size(kinds); ++i) {
        fs::remove_all(directory);
        fs::create_directories(directory);
        const fs::path file = directory / "ip.txt", elsewhere = directory / "elsewhere.txt";
        kinds[i].make(file, elsewhere);
        const network::ServerAddress_t address = network::ReadAddressFile(file.string());
        EXPECT_EQ(address.host, kinds[i].address) << i;
        EXPECT_EQ(!address.problem.empty(), kinds[i].problem) << i;
        std::stringstream content;
        if (kinds[i].content) content << std::ifstream(file).rdbuf();  // never a FIFO: it would block
        EXPECT_EQ(content.str(), kinds[i].content.value_or("")) << i;
        // Nothing is made at the far end of a link.
        EXPECT_TRUE(!fs::is_symlink(file) || fs::exists(elsewhere) == kinds[i].content.has_value()) << i;
    }
    fs::remove_all(directory);
}

TEST(AddressFileTest, AWordIsAHostOrAHostAndPortAndAnythingElseIsSaidToBeWrong) {
    struct Row_t {
        const char* word;
        const char* host;  // empty: refused
        unsigned short port;
    };
    const Row_t rows[] = {
        {"gamebox", "gamebox", 5000},       {"10.0.0.2:5001", "10.0.0.2", 5001}, {"h:1", "h", 1},
        {"h:65535", "h", 65535},            {"h:00080", "h", 80},                {"h:0", "", 0},
        {"h:65536", "", 0},                 {"h:123456", "", 0},                 {"h:", "", 0},
        {":5000", "", 0},                   {"h:50a", "", 0},                    {"h:-1", "", 0},
        {"h:+1", "", 0},                    {"h:1:2", "", 0},                    {"::1", "", 0},
        {"h:99999999999999999999", "", 0},
    };
    for (const Row_t& row : rows) {
        const network::ServerAddress_t address = network::ParseServerAddress(row.word);
        EXPECT_EQ(address.host, row.host) << row.word;
        EXPECT_EQ(address.port, row.port) << row.word;
        EXPECT_EQ(address.problem.empty(), *row.host != 0) << row.word;
    }
}

}  // namespace
