#pragma once

#include "app/frame_timing.hpp"
#include "audio/music_player.hpp"
#include "audio/sound_player.hpp"
#include "display/window_mode.hpp"
#include "input/gamepads.hpp"
#include "input/pad_source.hpp"
#include "key_binding/key_binding.hpp"
#include "settings/settings.hpp"
#include "settings/settings_file.hpp"
#include "state/state_stack.hpp"

#include <holder/resource_holder.hpp>
#include <holder/resource_id.hpp>

#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Graphics/Text.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <optional>

// The program's spine: owns the window, the screens and the services they share, and runs the
// fixed-step main loop.
class Application {
public:
    Application();
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    void Run();

private:
    void ProcessInput();
    void Update(sf::Time dt);
    void Render();
    void UpdateStatistics(sf::Time elapsed);
    void RegisterStates();
    void ApplySettings(const settings::Settings_t& chosen);
    settings::Settings_t CurrentSettings() const;
    // Saves the settings whenever something (a screen, F11) changed them.
    void SaveChangedSettings();

    // Read first: the window opens the way the player left it.
    settings::SettingsFile settings_file;
    settings::Settings_t saved_settings;
    sf::RenderWindow window;
    display::WindowMode window_mode;
    state::StateStack state_stack;
    holder::ResourceHolder<sf::Texture, holder::TextureId> textures;
    holder::ResourceHolder<sf::Font, holder::FontId> fonts;
    MusicPlayer music;
    SoundPlayer sounds;
    key_binding::KeyBinding key_binding_1;
    key_binding::KeyBinding key_binding_2;
    input::JoystickSource pad_source;
    std::optional<input::Gamepads> gamepads;
    std::optional<sf::Text> statistics_text;
    FrameStatistics_t statistics;
};
