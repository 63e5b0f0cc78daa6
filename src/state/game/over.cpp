#include "state/game/over.hpp"

#include "audio/music_player.hpp"
#include "state/overlay.hpp"
#include "util/text_util.hpp"

#include <SFML/Graphics/RenderWindow.hpp>

namespace state::game::over {
namespace {
const sf::Time display_time = sf::microseconds(3000000);
}

GameOverState::GameOverState(StateStack& owner, const StateContext_t& shared_context, const char* message)
    : State(owner, shared_context), text("", shared_context.fonts->Get(holder::FontId::Main), 30) {
    text.setString(message);
    text.setCharacterSize(70);
    CenterOrigin(text);
    text.setPosition(shared_context.window->getView().getSize() * 0.5f);
    shared_context.music->Play(MusicId::GameOverMusic);
}

void GameOverState::Draw() {
    DrawDarkening(*context.window);
    context.window->draw(text);
}

bool GameOverState::Update(sf::Time dt) {
    elapsed_time += dt;
    if (elapsed_time > display_time) {
        RequestStackClear();
        RequestStackPush(StateId::Menu);
    }
    return false;
}

bool GameOverState::HandleEvent(const sf::Event&) { return false; }

}  // namespace state::game::over
