#pragma once

#include "settings/settings.hpp"

#include <string>
#include <string_view>
#include <vector>

namespace settings {

struct Parsed_t {
    Settings_t settings;
    // "line 3: ...", in file order; empty when every line was understood.
    std::vector<std::string> problems;
};

// The settings file's text: an INI file with [player1], [player2], [audio] and [display].
std::string Format(const Settings_t& settings);
// Whatever a line does not say, or says in a way not understood, keeps its default. Keys are
// assigned in file order as the settings screen assigns them, so a key named twice ends with
// the later action and the earlier one is left without a key.
Parsed_t Parse(std::string_view text);

// A key's name in the file ("None" for no key); Unknown when `name` names no key.
std::string KeyName(sf::Keyboard::Key key);
sf::Keyboard::Key KeyFromName(std::string_view name);

}  // namespace settings
