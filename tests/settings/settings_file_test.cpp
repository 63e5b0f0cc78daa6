#include "settings/settings_file.hpp"
#include "settings/volume.hpp"
#include "support/helpers.hpp"

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <sys/resource.h>

namespace {

namespace fs = std::filesystem;
using key_binding::PlayerAction;
using settings::Settings_t;

std::string Read(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class SettingsFileTest : public ::testing::Test {
protected:
    int MessageLines() const {
        const std::string text = errors.str();
        return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    }
    // No temporary file is left beside the settings.
    bool AloneInItsDirectory() const {
        return fs::exists(path) && std::distance(fs::directory_iterator(path.parent_path()), {}) == 1;
    }

    test::TempDir root;
    fs::path path = root / "kirrow" / "settings.ini";
    std::ostringstream errors;
    settings::SettingsFile file{path, errors};
};

Settings_t Changed() {
    Settings_t chosen = settings::Defaults();
    chosen.keys[0][PlayerAction::FIRE] = sf::Keyboard::W;
    chosen.keys[0][PlayerAction::MOVE_UP] = sf::Keyboard::Unknown;
    chosen.keys[1][PlayerAction::FIRE] = sf::Keyboard::Quote;
    chosen.keys[1][PlayerAction::LAUNCH_MISSILE] = sf::Keyboard::Hyphen;
    chosen.keys[1][PlayerAction::MOVE_LEFT] = sf::Keyboard::Tilde;
    chosen.music_volume = 30;
    chosen.sound_volume = 0;
    chosen.fullscreen = true;
    return chosen;
}

struct Malformed_t {
    std::string text;
    const char* problem;
    std::function<void(Settings_t&)> survives;  // applied to the defaults
};

TEST_F(SettingsFileTest, WhatCannotBeReadKeepsItsDefaultAndTheFileIsKeptAside) {
    const auto none = [](Settings_t&) {};
    const Malformed_t cases[] = {
        {"fire = F\n", "line 1: setting before the first [section]", none},
        {"[player1]\nfire = Banana\n", "line 2: unknown key \"Banana\"", none},
        {"[player1]\njump = J\nfire = f\n", "line 2: unknown action \"jump\"",
         [](Settings_t& s) { s.keys[0][PlayerAction::FIRE] = sf::Keyboard::F; }},
        {"[audio]\nmusic_volume = 110\nsound_volume = 40\n", "music_volume must be a whole number from 0 to 100",
         [](Settings_t& s) { s.sound_volume = 40; }},
        {"# " + std::string(70000, 'x') + "\n[audio]\nsound_volume = 0\n", "larger than 64 KiB", none},
        {"[audio]\nsound_volume = 5x\n", "not \"5x\"", none},
        {"[audio]\nvolume = 5\n", "unknown setting \"volume\" in [audio]", none},
        {"[display]\nfullscreen = maybe\n", "fullscreen must be true or false", none},
        {"[keys]\nfire = F\n[display]\nfullscreen = TRUE\n", "line 1: unknown section [keys]",
         [](Settings_t& s) { s.fullscreen = true; }},
        {"[player2\nfire = F\n", "unknown section [player2", none},
        {"[player1]\nfire\n", "line 2: expected \"name = value\"", none},
        {"[player1]\nfire = \x1b[2J\n", "unknown key \"?[2J\"", none},
        {"[player1]\nfire = A\nmove_up = xx\nbad\nbad\n", "(and 2 more)", [](Settings_t& s) {
             s.keys[0][PlayerAction::FIRE] = sf::Keyboard::A;
             s.keys[0][PlayerAction::MOVE_LEFT] = sf::Keyboard::Unknown;  // A left it, as on the screen
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 40));
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << c.text;
        errors.str("");
        Settings_t expected = settings::Defaults();
        c.survives(expected);

        settings::SettingsFile fresh(path, errors);
        EXPECT_EQ(fresh.Load(), expected);
        EXPECT_NE(errors.str().find(path.string()), std::string::npos) << errors.str();
        EXPECT_NE(errors.str().find(c.problem), std::string::npos) << errors.str();
        // The player's file is kept whole; what could be read is the new file, read without a word.
        EXPECT_EQ(Read(file.BadPath()), c.text);
        EXPECT_EQ(settings::SettingsFile(path, errors).Load(), expected);
        EXPECT_EQ(MessageLines(), 1);
    }
}

// A missing file means the defaults and is not written until something changes; then on a full
// disk the write fails half-way, and the old file must come through whole.
TEST_F(SettingsFileTest, WhatIsSavedIsReadBackAndAFailedWriteLeavesTheOldFileWhole) {
    EXPECT_EQ(file.Load(), settings::Defaults());
    EXPECT_FALSE(fs::exists(path));
    ASSERT_TRUE(file.Save(Changed()));
    EXPECT_EQ(file.Load(), Changed());
    const std::string before = Read(path);
    rlimit old_limit{};
    getrlimit(RLIMIT_FSIZE, &old_limit);
    const rlimit tiny{64, old_limit.rlim_max};
    auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &tiny);
    const bool saved = file.Save(settings::Defaults());
    const bool saved_again = file.Save(settings::Defaults());
    setrlimit(RLIMIT_FSIZE, &old_limit);
    std::signal(SIGXFSZ, old_handler);

    EXPECT_FALSE(saved);
    EXPECT_FALSE(saved_again);
    EXPECT_EQ(Read(path), before);
    EXPECT_TRUE(AloneInItsDirectory());
    EXPECT_EQ(MessageLines(), 1);  // told once, not at every change, and of nothing else
    EXPECT_NE(errors.str().find("cannot save the settings to " + path.string()), std::string::npos) << errors.str();
}

TEST(SettingsPathTest, FollowsTheDesktopsConfigurationDirectory) {
    using settings::DefaultSettingsPath;
    EXPECT_EQ(DefaultSettingsPath("/cfg", "/home/p"), fs::path("/cfg/kirrow/settings.ini"));
    EXPECT_EQ(DefaultSettingsPath("relative", "/home/p"), fs::path("/home/p/.config/kirrow/settings.ini"));
    EXPECT_EQ(DefaultSettingsPath(nullptr, "/home/p"), fs::path("/home/p/.config/kirrow/settings.ini"));
    EXPECT_EQ(DefaultSettingsPath(nullptr, nullptr), std::nullopt);
}

TEST(VolumeTest, StepsByTenBetweenNoneAndFull) {
    const struct {
        int volume, direction, stepped;
    } steps[] = {{50, 1, 60}, {50, -1, 40},  {55, 1, 60}, {55, -1, 50},
                 {100, 1, 100}, {0, -1, 0}, {5, -1, 0}, {95, 1, 100}};
    for (const auto& s : steps) EXPECT_EQ(settings::StepVolume(s.volume, s.direction), s.stepped) << s.volume;
    EXPECT_EQ(settings::CycleVolume(90), 100);
    EXPECT_EQ(settings::CycleVolume(100), 0);
    EXPECT_EQ(settings::CycleVolume(0), 10);
}

}  // namespace
