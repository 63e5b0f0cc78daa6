#pragma once

#include "state/state.hpp"

#include <SFML/Graphics/Text.hpp>

namespace state::pause {

// Overlay over a mission: freezes a single-player mission, lets a network mission run on.
class PauseState : public State {
public:
    PauseState(StateStack& stack, const StateContext_t& context, bool let_updates_through = false);
    ~PauseState() override;

    void Draw() override;
    bool Update(sf::Time dt) override;
    bool HandleEvent(const sf::Event& event) override;

private:
    sf::Text paused_text;
    sf::Text instruction_text;
    bool let_updates_through;
};

}  // namespace state::pause
