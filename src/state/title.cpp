#include "state/title.hpp"

#include "util/text_util.hpp"

#include <SFML/Graphics/RenderWindow.hpp>

namespace state::title {

TitleState::TitleState(StateStack& owner, const StateContext_t& shared_context)
    : State(owner, shared_context),
      background(gui::background::Background::Menu, shared_context),
      text("Kirrow - SFML\npress any button", shared_context.fonts->Get(holder::FontId::Main), 30) {
    CenterOrigin(text);
    const sf::Vector2f view_size = shared_context.window->getView().getSize();
    text.setPosition(view_size.x * 0.5f, view_size.y * 0.25f);
}

void TitleState::Draw() {
    context.window->draw(background);
    context.window->draw(text);
}

bool TitleState::Update(sf::Time dt) {
    text_effect_time += dt;
    if (text_effect_time >= PROMPT_BLINK_TIME) {
        text.setFillColor(show_text ? sf::Color::White : sf::Color(128, 128, 128, 255));
        show_text = !show_text;
        text_effect_time -= PROMPT_BLINK_TIME;
    }
    return true;
}

bool TitleState::HandleEvent(const sf::Event& event) {
    if (event.type == sf::Event::KeyPressed || event.type == sf::Event::JoystickButtonPressed) {
        RequestStackPop();
        RequestStackPush(StateId::Menu);
    }
    return true;
}

}  // namespace state::title
