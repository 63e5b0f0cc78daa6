#include "state/state.hpp"

#include "state/state_stack.hpp"

namespace state {

State::State(StateStack& owner, const StateContext_t& shared_context) : context(shared_context), stack(&owner) {}

void State::RequestStackPush(StateId id) { stack->PushState(id); }

void State::RequestStackPop() { stack->PopState(); }

void State::RequestStackClear() { stack->ClearStates(); }

}  // namespace state
