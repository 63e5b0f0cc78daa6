#include "state/title.hpp"

namespace state::title {

TitleState::TitleState(StateStack& stack, const StateContext_t& context) : State(stack, context) {}

void TitleState::Draw() {}

bool TitleState::Update(sf::Time) { return true; }

bool TitleState::HandleEvent(const sf::Event&) { return true; }

}  // namespace state::title
