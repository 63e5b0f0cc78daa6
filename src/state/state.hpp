#pragma once

#include "state/state_context.hpp"
#include "state/state_id.hpp"

#include <SFML/System/Time.hpp>
#include <SFML/Window/Event.hpp>

#include <memory>

namespace state {

class StateStack;

// A blinking prompt is shown this long, then hidden this long, on every screen.
inline const sf::Time PROMPT_BLINK_TIME = sf::seconds(0.5f);

// Base of every screen. Screens never change the stack directly: they queue requests that the
// stack applies after the current event or update pass.
class State {
public:
    using Ptr = std::unique_ptr<State>;

    State(StateStack& stack, const StateContext_t& context);
    virtual ~State() = default;
    State(const State&) = delete;
    State& operator=(const State&) = delete;

    virtual void Draw() = 0;
    // Returning true lets the states beneath receive the step (or the event) too.
    virtual bool Update(sf::Time dt) = 0;
    virtual bool HandleEvent(const sf::Event& event) = 0;
    // Called whenever the state becomes the top of the stack.
    virtual void OnActivate() {}
    // Called once before a pop or clear removes the state; not at program end.
    virtual void OnDestroy() {}

protected:
    void RequestStackPush(StateId id);
    void RequestStackPop();
    void RequestStackClear();

    StateContext_t context;

private:
    StateStack* stack;
};

}  // namespace state
