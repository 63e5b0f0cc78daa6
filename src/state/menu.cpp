#include "state/menu.hpp"

#include "audio/music_player.hpp"
#include "gui/button.hpp"

#include <SFML/Graphics/RenderWindow.hpp>

namespace state::menu {

MenuState::MenuState(StateStack& owner, const StateContext_t& shared_context)
    : State(owner, shared_context), background(gui::background::Background::Menu, shared_context) {
    // Each entry replaces the menu, except Settings which opens over it.
    auto replace_with = [this](StateId id) {
        return [this, id] {
            RequestStackPop();
            RequestStackPush(id);
        };
    };
    AddButton("Play", {100.f, 150.f}, replace_with(StateId::Loading));
    AddButton("Host", {100.f, 200.f}, replace_with(StateId::HostGame));
    AddButton("Join", {100.f, 250.f}, replace_with(StateId::JoinGame));
    AddButton("Settings", {100.f, 300.f}, [this] { RequestStackPush(StateId::Settings); });
    AddButton("Exit", {100.f, 350.f}, [this] { RequestStackPop(); });
    shared_context.music->Play(MusicId::MenuMusic);
}

void MenuState::AddButton(const std::string& caption, sf::Vector2f position, std::function<void()> action) {
    auto button = std::make_shared<gui::button::Button>(context);
    button->setPosition(position);
    button->SetText(caption);
    button->SetCallback(std::move(action));
    gui_container.Pack(button);
}

void MenuState::Draw() {
    context.window->draw(background);
    context.window->draw(gui_container);
}

bool MenuState::Update(sf::Time) { return true; }

bool MenuState::HandleEvent(const sf::Event& event) {
    gui_container.HandleEvent(event);
    return false;
}

}  // namespace state::menu
