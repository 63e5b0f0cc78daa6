#pragma once

#include "gui/background.hpp"
#include "parallel/parallel_task.hpp"
#include "state/state.hpp"

#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Graphics/Text.hpp>

namespace state::loading {

// Shows a progress bar while the background task runs, then starts the mission.
class LoadingState : public State {
public:
    // The task's clock is the real one unless a test hands in its own.
    LoadingState(StateStack& stack, const StateContext_t& context, parallel::ParallelTask::Clock clock = {});

    void Draw() override;
    bool Update(sf::Time dt) override;
    bool HandleEvent(const sf::Event& event) override;

    void SetCompletition(float percent);
    sf::Vector2f GetProgressBarSize() const { return progress_bar.getSize(); }

private:
    sf::Text loading_text;
    gui::background::Background background;
    sf::RectangleShape progress_bar_background;
    sf::RectangleShape progress_bar;
    parallel::ParallelTask task;
};

}  // namespace state::loading
