#include "state/pause.hpp"

#include "audio/music_player.hpp"
#include "input/menu_keys.hpp"
#include "state/overlay.hpp"
#include "util/text_util.hpp"

#include <SFML/Graphics/RenderWindow.hpp>

namespace state::pause {

PauseState::PauseState(StateStack& owner, const StateContext_t& shared_context, bool updates_pass)
    : State(owner, shared_context),
      paused_text("", shared_context.fonts->Get(holder::FontId::Main), 30),
      instruction_text("", shared_context.fonts->Get(holder::FontId::Main), 30),
      let_updates_through(updates_pass) {
    const sf::Vector2f view_size = shared_context.window->getView().getSize();
    paused_text.setString("Paused");
    paused_text.setCharacterSize(60);
    CenterOrigin(paused_text);
    paused_text.setPosition(view_size.x * 0.5f, view_size.y * 0.5f - 100.f);

    instruction_text.setString("Esc - continue\nBackspace - menu");
    CenterOrigin(instruction_text);
    instruction_text.setPosition(paused_text.getPosition() + sf::Vector2f(0.f, 100.f));

    shared_context.music->SetPaused(true);
}

PauseState::~PauseState() { context.music->SetPaused(false); }

void PauseState::Draw() {
    sf::RenderWindow& window = *context.window;
    DrawDarkening(window);
    window.draw(paused_text);
    window.draw(instruction_text);
}

bool PauseState::Update(sf::Time) { return let_updates_through; }

bool PauseState::HandleEvent(const sf::Event& event) {
    const auto key = input::MenuKeyOf(event);
    if (key == sf::Keyboard::Escape) {
        RequestStackPop();
    } else if (key == sf::Keyboard::BackSpace) {
        RequestStackClear();
        RequestStackPush(StateId::Menu);
    }
    return false;
}

}  // namespace state::pause
