#include "app/application.hpp"

#include "state/game.hpp"
#include "state/game/multiplayer.hpp"
#include "state/game/over.hpp"
#include "state/loading.hpp"
#include "state/menu.hpp"
#include "state/pause.hpp"
#include "state/settings.hpp"
#include "state/title.hpp"

#include <SFML/System/Clock.hpp>
#include <SFML/Window/Event.hpp>

#include <cmath>
#include <cstdlib>
#include <iostream>

Application::Application()
    : settings_file(settings::DefaultSettingsPath(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME")), std::cerr),
      saved_settings(settings_file.Load()),
      window_mode(window, holder::IconFile()),
      state_stack(state::StateContext_t{&window, &textures, &fonts, &music, &sounds, &key_binding_1, &key_binding_2,
                                        &window_mode}),
      music(holder::MusicDirectory()),
      key_binding_1(1),
      key_binding_2(2) {
    // Key repeat off, 60 frames a second and the 640 x 480 view come with every window made here.
    window_mode.Open(saved_settings.fullscreen);
    // The window is there now, so SFML knows which pads are plugged in.
    gamepads.emplace(pad_source);
    key_binding_1.SetGamepads(&*gamepads);
    key_binding_2.SetGamepads(&*gamepads);

    fonts.Load(holder::FontId::Main, holder::FileOf(holder::FontId::Main));
    textures.Load(holder::TextureId::Button, holder::FileOf(holder::TextureId::Button));
    textures.Load(holder::TextureId::Background, holder::FileOf(holder::TextureId::Background));

    statistics_text.emplace("", fonts.Get(holder::FontId::Main), 30);
    statistics_text->setPosition(5.f, 5.f);
    statistics_text->setCharacterSize(10);

    ApplySettings(saved_settings);
    RegisterStates();
    state_stack.PushState(state::StateId::Title);
}

// Screens go first: a destructor may still use the music player, the sounds or the fonts.
Application::~Application() { state_stack.Teardown(); }

void Application::Run() {
    sf::Clock clock;
    sf::Time accumulator = sf::Time::Zero;
    while (window.isOpen()) {
        ProcessInput();
        const sf::Time elapsed = clock.restart();
        accumulator += elapsed;
        // Runs every due step even after the window closed; an empty stack ignores them.
        for (int steps = TakeFixedSteps(accumulator); steps > 0; --steps) {
            Update(time_per_frame);
            if (state_stack.IsEmpty()) window.close();
        }
        UpdateStatistics(elapsed);
        Render();
    }
}

void Application::ProcessInput() {
    sf::Event event;
    while (window.pollEvent(event)) {
        gamepads->HandleEvent(event);
        if (event.type == sf::Event::Resized) window_mode.FitView();
        // F11 belongs to the window, on every screen: no screen ever sees it.
        if (event.type == sf::Event::KeyPressed && event.key.code == sf::Keyboard::F11) {
            window_mode.ToggleFullscreen();
            continue;
        }
        state_stack.HandleEvent(event);
        if (event.type == sf::Event::Closed) window.close();
    }
    SaveChangedSettings();
}

void Application::Update(sf::Time dt) { state_stack.Update(dt); }

void Application::Render() {
    window.clear(sf::Color::Black);
    state_stack.Draw();
    window.draw(statistics_text.value());
    window.display();
}

void Application::UpdateStatistics(sf::Time elapsed) {
    if (auto text = CountFrame(statistics, elapsed)) statistics_text.value().setString(*text);
}

void Application::ApplySettings(const settings::Settings_t& chosen) {
    key_binding::KeyBinding* bindings[] = {&key_binding_1, &key_binding_2};
    for (std::size_t player = 0; player < 2; ++player) {
        for (std::size_t i = 0; i < key_binding::PlayerAction::COUNT; ++i) {
            const auto action = static_cast<key_binding::PlayerAction::t>(i);
            const sf::Keyboard::Key key = chosen.keys[player][i];
            if (key == sf::Keyboard::Unknown)
                bindings[player]->UnassignAction(action);
            else
                bindings[player]->AssignKey(action, key);
        }
    }
    music.SetVolume(static_cast<float>(chosen.music_volume));
    sounds.SetVolume(static_cast<float>(chosen.sound_volume));
}

settings::Settings_t Application::CurrentSettings() const {
    settings::Settings_t current;
    const key_binding::KeyBinding* bindings[] = {&key_binding_1, &key_binding_2};
    for (std::size_t player = 0; player < 2; ++player)
        for (std::size_t i = 0; i < key_binding::PlayerAction::COUNT; ++i)
            current.keys[player][i] = bindings[player]->GetAssignedKey(static_cast<key_binding::PlayerAction::t>(i));
    current.music_volume = static_cast<int>(std::lround(music.GetVolume()));
    current.sound_volume = static_cast<int>(std::lround(sounds.GetVolume()));
    current.fullscreen = window_mode.IsFullscreen();
    return current;
}

void Application::SaveChangedSettings() {
    const settings::Settings_t current = CurrentSettings();
    if (current == saved_settings) return;
    // A failed save is reported once and tried again at the next change.
    settings_file.Save(current);
    saved_settings = current;
}

void Application::RegisterStates() {
    using state::StateId;
    state_stack.RegisterState<state::title::TitleState>(StateId::Title);
    state_stack.RegisterState<state::menu::MenuState>(StateId::Menu);
    state_stack.RegisterState<state::loading::LoadingState>(StateId::Loading);
    state_stack.RegisterState<state::game::GameState>(StateId::Game);
    state_stack.RegisterState<state::game::multiplayer::MultiplayerState>(StateId::HostGame, true);
    state_stack.RegisterState<state::game::multiplayer::MultiplayerState>(StateId::JoinGame, false);
    state_stack.RegisterState<state::settings::SettingsState>(StateId::Settings);
    state_stack.RegisterState<state::pause::PauseState>(StateId::Pause);
    state_stack.RegisterState<state::pause::PauseState>(StateId::NetworkPause, true);
    state_stack.RegisterState<state::game::over::GameOverState>(StateId::MissionFailed, "Mission failed :(");
    state_stack.RegisterState<state::game::over::GameOverState>(StateId::MissionSuccess, "Mission success :)");
}
