#pragma once

#include "state/state.hpp"

#include <SFML/Graphics/Text.hpp>

namespace state::game::over {

// The result of a mission over its frozen picture; returns to a fresh menu after three seconds.
class GameOverState : public State {
public:
    GameOverState(StateStack& stack, const StateContext_t& context, const char* message);

    void Draw() override;
    bool Update(sf::Time dt) override;
    bool HandleEvent(const sf::Event& event) override;

private:
    sf::Text text;
    sf::Time elapsed_time = sf::Time::Zero;
};

}  // namespace state::game::over
