#include "state/loading.hpp"

#include "util/text_util.hpp"

#include <SFML/Graphics/RenderWindow.hpp>

#include <algorithm>
#include <cassert>
#include <utility>

namespace state::loading {

LoadingState::LoadingState(StateStack& owner, const StateContext_t& shared_context, parallel::ParallelTask::Clock clock)
    : State(owner, shared_context),
      loading_text("Loading resources...", shared_context.fonts->Get(holder::FontId::Main), 30),
      background(gui::background::Background::Loading, shared_context),
      task(std::move(clock)) {
    const sf::Vector2f view_size = shared_context.window->getView().getSize();
    CenterOrigin(loading_text);
    loading_text.setPosition(view_size * 0.5f);

    const sf::Vector2f bar_position(10.f, loading_text.getPosition().y + 40.f);
    progress_bar_background.setFillColor(sf::Color(128, 128, 128, 255));
    progress_bar_background.setSize({view_size.x - 20.f, 10.f});
    progress_bar_background.setPosition(bar_position);
    progress_bar.setFillColor(sf::Color::White);
    progress_bar.setSize({200.f, 10.f});
    progress_bar.setPosition(bar_position);
    SetCompletition(0.f);
    task.Execute();
}

void LoadingState::Draw() {
    sf::RenderWindow& window = *context.window;
    window.draw(background);
    window.draw(loading_text);
    window.draw(progress_bar_background);
    window.draw(progress_bar);
}

bool LoadingState::Update(sf::Time) {
    if (task.IsFinished()) {
        RequestStackPop();
        RequestStackPush(StateId::Game);
    } else {
        // The clock passes one second a moment before the worker reports: the bar is then full.
        SetCompletition(std::min(task.GetCompletion(), 1.f));
    }
    return true;
}

bool LoadingState::HandleEvent(const sf::Event&) { return true; }

void LoadingState::SetCompletition(float percent) {
    assert(0 <= percent && percent <= 1.f);
    progress_bar.setSize({progress_bar_background.getSize().x * percent, progress_bar.getSize().y});
}

}  // namespace state::loading
