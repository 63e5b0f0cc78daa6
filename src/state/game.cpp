#include "state/game.hpp"

#include "audio/music_player.hpp"
#include "input/menu_keys.hpp"
#include "util/random.hpp"

#include <SFML/Graphics/RenderWindow.hpp>

namespace state::game {

using ::game::character::Character;

GameState::GameState(StateStack& owner, const StateContext_t& shared_context)
    : State(owner, shared_context),
      world(*shared_context.window, *shared_context.fonts, *shared_context.sounds, false),
      player(nullptr, 1, shared_context.key_binding_1) {
    world.AddCharacter(1, static_cast<Character::Type>(RandomInt(0, 2)));
    shared_context.music->Play(MusicId::MissionMusic);
}

void GameState::Draw() { world.Draw(); }

bool GameState::Update(sf::Time dt) {
    world.Update(dt);
    if (!world.HasAlivePlayer()) {
        player.SetMissionStatus(player::Player::MISSION_FAILURE);
        RequestStackPush(StateId::MissionFailed);
    } else if (world.HasPlayerReachedEnd()) {
        player.SetMissionStatus(player::Player::MISSION_SUCCESS);
        RequestStackPush(StateId::MissionSuccess);
    }
    // Held keys belong to whichever window has the focus.
    if (context.window->hasFocus()) player.HandleRealtimeInput(world.GetCommandQueue());
    return true;
}

bool GameState::HandleEvent(const sf::Event& event) {
    player.HandleEvent(event, world.GetCommandQueue());
    if (input::MenuKeyOf(event) == sf::Keyboard::Escape) RequestStackPush(StateId::Pause);
    return true;
}

}  // namespace state::game
