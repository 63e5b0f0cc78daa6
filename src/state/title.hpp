#pragma once

#include "gui/background.hpp"
#include "state/state.hpp"

#include <SFML/Graphics/Text.hpp>

namespace state::title {

// The first screen: the game's name and a blinking prompt; any key opens the menu.
class TitleState : public State {
public:
    TitleState(StateStack& stack, const StateContext_t& context);

    void Draw() override;
    bool Update(sf::Time dt) override;
    bool HandleEvent(const sf::Event& event) override;

    const sf::Text& GetText() const { return text; }

private:
    gui::background::Background background;
    sf::Text text;
    bool show_text = true;
    sf::Time text_effect_time = sf::Time::Zero;
};

}  // namespace state::title
