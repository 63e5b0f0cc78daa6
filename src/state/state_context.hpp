#pragma once

#include <holder/holders.hpp>
#include <holder/resource_id.hpp>

namespace sf {
class RenderWindow;
class Texture;
class Font;
}  // namespace sf

class MusicPlayer;
class SoundPlayer;

namespace key_binding {
class KeyBinding;
}

namespace display {
class WindowMode;
}

namespace state {

// The services every screen shares; all point at members of the Application, which outlives
// every screen.
struct StateContext_t {
    sf::RenderWindow* window = nullptr;
    holder::TextureHolder* textures = nullptr;
    holder::FontHolder* fonts = nullptr;
    MusicPlayer* music = nullptr;
    SoundPlayer* sounds = nullptr;
    key_binding::KeyBinding* key_binding_1 = nullptr;
    key_binding::KeyBinding* key_binding_2 = nullptr;
    // Window or fullscreen; absent where no window of the game's own exists (tests).
    display::WindowMode* window_mode = nullptr;
};

}  // namespace state
