#include "application.hpp"

#include "state/game.hpp"
#include "state/game/multiplayer.hpp"
#include "state/game/over.hpp"
#include "state/loading.hpp"
#include "state/menu.hpp"
#include "state/pause.hpp"
#include "state/settings.hpp"
#include "state/title.hpp"

#include <SFML/Graphics/View.hpp>
#include <SFML/System/Clock.hpp>
#include <SFML/Window/Event.hpp>

Application::Application()
    : window(sf::VideoMode(1280, 960, 32), "Kirrow - SFML", sf::Style::Default, sf::ContextSettings()),
      state_stack(state::StateContext_t{&window, &textures, &fonts, &music, &sounds, &key_binding_1, &key_binding_2}),
      key_binding_1(1),
      key_binding_2(2) {
    window.setKeyRepeatEnabled(false);
    window.setFramerateLimit(60);
    window.setView(sf::View(sf::Vector2f(320.f, 240.f), sf::Vector2f(640.f, 480.f)));

    fonts.Load(holder::FontId::Main, holder::FileOf(holder::FontId::Main));
    textures.Load(holder::TextureId::Button, holder::FileOf(holder::TextureId::Button));
    textures.Load(holder::TextureId::Background, holder::FileOf(holder::TextureId::Background));

    statistics_text.emplace("", fonts.Get(holder::FontId::Main), 30);
    statistics_text->setPosition(5.f, 5.f);
    statistics_text->setCharacterSize(10);

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
        state_stack.HandleEvent(event);
        if (event.type == sf::Event::Closed) window.close();
    }
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
