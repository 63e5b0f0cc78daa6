#include "settings/settings_text.hpp"

#include "key_binding/key_binding.hpp"
#include "key_binding/key_to_string.hpp"

#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <optional>

namespace settings {

namespace {

using key_binding::PlayerAction;

constexpr std::array<const char*, PlayerAction::COUNT> action_names = {
    "move_left", "move_right", "move_up", "move_down", "fire", "launch_missile"};
// Indexed by Section_t; NONE and UNKNOWN match no heading.
enum Section_t { PLAYER1, PLAYER2, AUDIO, DISPLAY, UNKNOWN, NONE };
constexpr std::array<std::string_view, UNKNOWN> section_names = {"player1", "player2", "audio", "display"};

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

bool SameName(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return std::tolower(static_cast<unsigned char>(c)); };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [&](char x, char y) { return lower(x) == lower(y); });
}

// Quotes a piece of the file in a message: control bytes shown as '?', long runs cut short.
std::string Shown(std::string_view text) {
    constexpr std::size_t longest = 40;
    std::string shown(text.substr(0, longest));
    for (char& c : shown)
        if (!std::isprint(static_cast<unsigned char>(c))) c = '?';
    return text.size() > longest ? shown + "..." : shown;
}

std::optional<int> ParseVolume(std::string_view value) {
    int volume = -1;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), volume);
    if (error != std::errc() || end != value.data() + value.size() || volume < 0 || volume > 100) return std::nullopt;
    return volume;
}

std::optional<bool> ParseSwitch(std::string_view value) {
    if (SameName(value, "true")) return true;
    if (SameName(value, "false")) return false;
    return std::nullopt;
}

// Applies lines one at a time; the key bindings replay the settings screen's assignments.
class Reader {
public:
    Reader() : settings(Defaults()), bindings{key_binding::KeyBinding(1), key_binding::KeyBinding(2)} {}

    void Line(int number, std::string_view line) {
        line = Trim(line);
        if (line.empty() || line.front() == '#' || line.front() == ';') return;
        if (line.front() == '[') return Section(number, line);
        const auto equals = line.find('=');
        if (equals == std::string_view::npos) return Problem(number, "expected \"name = value\"");
        Setting(number, Trim(line.substr(0, equals)), Trim(line.substr(equals + 1)));
    }

    Parsed_t Finish() {
        for (std::size_t player = 0; player < 2; ++player)
            for (std::size_t action = 0; action < PlayerAction::COUNT; ++action)
                settings.keys[player][action] = bindings[player].GetAssignedKey(static_cast<PlayerAction::t>(action));
        return {settings, std::move(problems)};
    }

private:
    void Section(int number, std::string_view line) {
        const std::string_view name = line.back() == ']' ? Trim(line.substr(1, line.size() - 2)) : std::string_view();
        const auto found = std::find(section_names.begin(), section_names.end(), name);
        section = static_cast<Section_t>(found - section_names.begin());
        if (section == UNKNOWN) Problem(number, fmt::format("unknown section {}", Shown(line)));
    }

    void Setting(int number, std::string_view name, std::string_view value) {
        switch (section) {
            case NONE: return Problem(number, "setting before the first [section]");
            case UNKNOWN: return;  // reported with its section
            case PLAYER1:
            case PLAYER2: return KeySetting(number, section - PLAYER1, name, value);
            case AUDIO:
                if (name != "music_volume" && name != "sound_volume") break;
                if (const auto volume = ParseVolume(value)) {
                    (name == "music_volume" ? settings.music_volume : settings.sound_volume) = *volume;
                    return;
                }
                return Problem(number, fmt::format("{} must be a whole number from 0 to 100, not \"{}\"", name,
                                                   Shown(value)));
            case DISPLAY:
                if (name != "fullscreen") break;
                if (const auto on = ParseSwitch(value)) {
                    settings.fullscreen = *on;
                    return;
                }
                return Problem(number, fmt::format("fullscreen must be true or false, not \"{}\"", Shown(value)));
        }
        Problem(number, fmt::format("unknown setting \"{}\" in [{}]", Shown(name), section_names[section]));
    }

    void KeySetting(int number, int player, std::string_view name, std::string_view value) {
        const auto found = std::find_if(action_names.begin(), action_names.end(),
                                        [name](const char* known) { return SameName(known, name); });
        if (found == action_names.end()) return Problem(number, fmt::format("unknown action \"{}\"", Shown(name)));
        const auto action = static_cast<PlayerAction::t>(found - action_names.begin());
        const sf::Keyboard::Key key = KeyFromName(value);
        if (key != sf::Keyboard::Unknown)
            bindings[static_cast<std::size_t>(player)].AssignKey(action, key);
        else if (SameName(value, "None"))
            bindings[static_cast<std::size_t>(player)].UnassignAction(action);
        else
            Problem(number, fmt::format("unknown key \"{}\"", Shown(value)));
    }

    void Problem(int number, std::string text) { problems.push_back(fmt::format("line {}: {}", number, text)); }

    Settings_t settings;
    std::array<key_binding::KeyBinding, 2> bindings;
    Section_t section = NONE;
    std::vector<std::string> problems;
};

}  // namespace

// The names the settings screen shows, except for the keys it shows as "Undefined".
std::string KeyName(sf::Keyboard::Key key) {
    switch (key) {
        case sf::Keyboard::Unknown: return "None";
        case sf::Keyboard::Quote: return "Apostrophe";
        case sf::Keyboard::Tilde: return "Grave";
        case sf::Keyboard::Hyphen: return "Hyphen";
        default: return KeyToString(key);
    }
}

sf::Keyboard::Key KeyFromName(std::string_view name) {
    for (int code = 0; code < sf::Keyboard::KeyCount; ++code) {
        const auto key = static_cast<sf::Keyboard::Key>(code);
        const std::string known = KeyName(key);
        if (known != "Undefined" && SameName(known, name)) return key;
    }
    return sf::Keyboard::Unknown;
}

std::string Format(const Settings_t& settings) {
    std::string text = "# Kirrow settings. The game rewrites this file whenever they change.\n";
    for (std::size_t player = 0; player < 2; ++player) {
        text += fmt::format("\n[{}]\n", section_names[PLAYER1 + player]);
        for (std::size_t action = 0; action < PlayerAction::COUNT; ++action)
            text += fmt::format("{} = {}\n", action_names[action], KeyName(settings.keys[player][action]));
    }
    text += fmt::format("\n[audio]\nmusic_volume = {}\nsound_volume = {}\n", settings.music_volume,
                        settings.sound_volume);
    text += fmt::format("\n[display]\nfullscreen = {}\n", settings.fullscreen ? "true" : "false");
    return text;
}

Parsed_t Parse(std::string_view text) {
    Reader reader;
    int number = 0;
    while (!text.empty()) {
        const auto end = text.find('\n');
        reader.Line(++number, text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    }
    return reader.Finish();
}

}  // namespace settings
