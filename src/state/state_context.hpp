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
};

}  // namespace state
