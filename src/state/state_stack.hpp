#pragma once

#include "state/state.hpp"

#include <array>
#include <functional>
#include <memory>
#include <vector>

namespace state {

// Owns the screens, bottom first. Changes are queued and applied after each event or update pass,
// so a screen may ask for its own removal while it is still running.
class StateStack {
public:
    enum class Action : std::uint32_t { Push, Pop, Clear };

    struct PendingChange {
        Action action;
        StateId state_id;
    };

    explicit StateStack(const StateContext_t& context);
    ~StateStack();
    StateStack(const StateStack&) = delete;
    StateStack& operator=(const StateStack&) = delete;

    template <typename T, typename... Args>
    void RegisterState(StateId id, Args... args) {
        factories[static_cast<std::size_t>(id)] = [this, args...]() -> State::Ptr {
            return std::make_unique<T>(*this, std::as_const(context), args...);
        };
    }

    void PushState(StateId id);
    void PopState();
    void ClearStates();

    void HandleEvent(const sf::Event& event);
    void Update(sf::Time dt);
    void Draw();
    bool IsEmpty() const;

    // Destroys the remaining states without OnDestroy, for program end: the owner calls it
    // first so that no screen outlives the services its destructor may still use.
    void Teardown();

private:
    State::Ptr CreateState(StateId id);
    void ApplyPendingChanges();

    std::vector<State::Ptr> stack;
    std::vector<PendingChange> pending_list;
    StateContext_t context;
    std::array<std::function<State::Ptr()>, state_id_count> factories;
};

}  // namespace state
