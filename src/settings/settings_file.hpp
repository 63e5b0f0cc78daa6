#pragma once

#include "settings/settings.hpp"

#include <filesystem>
#include <iosfwd>
#include <optional>

namespace settings {

// $XDG_CONFIG_HOME/kirrow/settings.ini, or ~/.config/kirrow/settings.ini when that is unset or
// not absolute; nothing when neither variable says where.
std::optional<std::filesystem::path> DefaultSettingsPath(const char* xdg_config_home, const char* home);

// The settings file. Every problem costs one line on `errors`, never the game's start, and never
// the player's file: a file that cannot be read is kept as settings.ini.bad, and a save replaces
// the file in one rename, so a crash or a full disk leaves the old file whole.
class SettingsFile {
public:
    // Without a path nothing is read or saved (Load says so once).
    SettingsFile(std::optional<std::filesystem::path> path, std::ostream& errors);

    // The file's settings, the defaults for whatever it does not say or could not be read. A
    // file with problems is renamed to settings.ini.bad and what could be read is saved anew.
    Settings_t Load();
    // False when the file could not be written; the old one is then untouched.
    bool Save(const Settings_t& settings);

    const std::optional<std::filesystem::path>& Path() const { return path; }
    std::filesystem::path BadPath() const;

private:
    void Write(const Settings_t& settings) const;

    std::optional<std::filesystem::path> path;
    std::ostream& errors;
    // A failing save is told once, not at every change, until a save works again.
    bool save_failure_reported = false;
    bool keep_unsaved = false;
};

}  // namespace settings
