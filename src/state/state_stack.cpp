#include "state/state_stack.hpp"

#include <cassert>

namespace state {

StateStack::StateStack(const StateContext_t& shared_context) : context(shared_context) {}

StateStack::~StateStack() { Teardown(); }

void StateStack::PushState(StateId id) { pending_list.push_back({Action::Push, id}); }

void StateStack::PopState() { pending_list.push_back({Action::Pop, StateId::None}); }

void StateStack::ClearStates() { pending_list.push_back({Action::Clear, StateId::None}); }

void StateStack::HandleEvent(const sf::Event& event) {
    for (auto it = stack.rbegin(); it != stack.rend(); ++it) {
        if (!(*it)->HandleEvent(event)) break;
    }
    ApplyPendingChanges();
}

void StateStack::Update(sf::Time dt) {
    for (auto it = stack.rbegin(); it != stack.rend(); ++it) {
        if (!(*it)->Update(dt)) break;
    }
    ApplyPendingChanges();
}

void StateStack::Draw() {
    for (const auto& state : stack) state->Draw();
}

bool StateStack::IsEmpty() const { return stack.empty(); }

void StateStack::Teardown() {
    // Bottom to top, as a clear would, but without OnDestroy.
    for (auto& state : stack) state.reset();
    stack.clear();
}

State::Ptr StateStack::CreateState(StateId id) {
    const auto& factory = factories[static_cast<std::size_t>(id)];
    assert(factory);
    return factory();
}

void StateStack::ApplyPendingChanges() {
    for (const PendingChange& change : pending_list) {
        switch (change.action) {
            case Action::Push:
                stack.push_back(CreateState(change.state_id));
                stack.back()->OnActivate();
                break;
            case Action::Pop:
                stack.back()->OnDestroy();
                stack.pop_back();
                if (!stack.empty()) stack.back()->OnActivate();
                break;
            case Action::Clear:
                for (auto& state : stack) state->OnDestroy();
                Teardown();
                break;
        }
    }
    pending_list.clear();
}

}  // namespace state
