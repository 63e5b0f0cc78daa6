#pragma once

#include "key_binding/player_action.hpp"

#include <SFML/Window/Keyboard.hpp>

#include <array>

namespace settings {

// One player's key per action; Unknown where the action has no key.
using ActionKeys = std::array<sf::Keyboard::Key, key_binding::PlayerAction::COUNT>;

// Everything the player chooses that outlives a run of the game.
struct Settings_t {
    std::array<ActionKeys, 2> keys;
    int music_volume = 100;
    int sound_volume = 100;
    bool fullscreen = false;

    bool operator==(const Settings_t&) const = default;
};

// The two players' default keys, today's volumes, a window.
Settings_t Defaults();

}  // namespace settings
