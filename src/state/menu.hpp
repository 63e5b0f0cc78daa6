#pragma once

#include "gui/background.hpp"
#include "gui/container.hpp"
#include "state/state.hpp"

#include <functional>
#include <string>

namespace state::menu {

// The main menu: play, host, join, settings, exit.
class MenuState : public State {
public:
    MenuState(StateStack& stack, const StateContext_t& context);

    void Draw() override;
    bool Update(sf::Time dt) override;
    bool HandleEvent(const sf::Event& event) override;

private:
    void AddButton(const std::string& caption, sf::Vector2f position, std::function<void()> action);

    gui::container::Container gui_container;
    gui::background::Background background;
};

}  // namespace state::menu
