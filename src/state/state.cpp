#include "state/state.hpp"

#include "state/state_stack.hpp"

namespace state {

State::State(StateStack& stack, const StateContext_t& context) : context(context), stack(&stack) {}

void State::RequestStackPush(StateId id) { stack->PushState(id); }

void State::RequestStackPop() { stack->PopState(); }

void State::RequestStackClear() { stack->ClearStates(); }

}  // namespace state
