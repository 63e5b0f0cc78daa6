#pragma once

#include "state/state.hpp"

namespace state::title {

// The game's first screen.
class TitleState : public State {
public:
    TitleState(StateStack& stack, const StateContext_t& context);

    void Draw() override;
    bool Update(sf::Time dt) override;
    bool HandleEvent(const sf::Event& event) override;
};

}  // namespace state::title
