#pragma once

#include "player/player.hpp"
#include "state/state.hpp"
#include "world/world.hpp"

namespace state::game {

// The single-player mission: one world, one local player.
class GameState : public State {
public:
    GameState(StateStack& stack, const StateContext_t& context);

    void Draw() override;
    bool Update(sf::Time dt) override;
    bool HandleEvent(const sf::Event& event) override;

    // For tests: the mission's field.
    world::World& GetWorld() { return world; }

private:
    world::World world;
    player::Player player;
};

}  // namespace state::game
