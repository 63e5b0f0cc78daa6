#include "state/state_stack.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using state::StateId;

// Records every call that reaches a screen, in order, so tests can check sequencing.
struct Journal {
    std::vector<std::string> lines;
};

// A screen whose reactions are scripted by the test through its constructor arguments.
class ProbeState : public state::State {
public:
    ProbeState(state::StateStack& stack, const state::StateContext_t& context, Journal* journal, std::string name,
               bool pass_on)
        : State(stack, context), journal(journal), name(std::move(name)), pass_on(pass_on) {
        Log("create");
    }
    ~ProbeState() override { Log("destroy"); }

    void Draw() override { Log("draw"); }
    bool Update(sf::Time) override {
        Log("update");
        RunScript();
        return pass_on;
    }
    bool HandleEvent(const sf::Event&) override {
        Log("event");
        RunScript();
        return pass_on;
    }
    void OnActivate() override { Log("activate"); }
    void OnDestroy() override { Log("on_destroy"); }

    // What the next event or update asks of the stack.
    static inline std::vector<std::pair<state::StateStack::Action, StateId>> script;

private:
    void Log(const std::string& what) { journal->lines.push_back(name + ":" + what); }
    void RunScript() {
        auto requests = std::move(script);
        script.clear();
        for (const auto& [action, id] : requests) {
            if (action == state::StateStack::Action::Push) RequestStackPush(id);
            if (action == state::StateStack::Action::Pop) RequestStackPop();
            if (action == state::StateStack::Action::Clear) RequestStackClear();
        }
    }

    Journal* journal;
    std::string name;
    bool pass_on;
};

class StateStackTest : public ::testing::Test {
protected:
    StateStackTest() : stack(state::StateContext_t{}) {
        stack.RegisterState<ProbeState>(StateId::Title, &journal, std::string("title"), true);
        stack.RegisterState<ProbeState>(StateId::Menu, &journal, std::string("menu"), false);
        stack.RegisterState<ProbeState>(StateId::Game, &journal, std::string("game"), true);
        stack.RegisterState<ProbeState>(StateId::Pause, &journal, std::string("pause"), false);
        ProbeState::script.clear();
    }
    ~StateStackTest() override { ProbeState::script.clear(); }

    void Push(StateId id) {
        stack.PushState(id);
        stack.Update(sf::Time::Zero);
        journal.lines.clear();
    }

    Journal journal;
    state::StateStack stack;
};

using Lines = std::vector<std::string>;
constexpr auto kPush = state::StateStack::Action::Push;
constexpr auto kPop = state::StateStack::Action::Pop;
constexpr auto kClear = state::StateStack::Action::Clear;

TEST_F(StateStackTest, PopThenPushDuringOneEventReplacesTheTopAfterTheEvent) {
    Push(StateId::Game);
    Push(StateId::Pause);
    ProbeState::script = {{kPop, StateId::None}, {kPush, StateId::Menu}};
    stack.HandleEvent(sf::Event{});
    EXPECT_EQ(journal.lines, (Lines{"pause:event", "pause:on_destroy", "pause:destroy", "game:activate",
                                    "menu:create", "menu:activate"}));
}

TEST_F(StateStackTest, ClearThenPushLeavesOnlyTheNewState) {
    Push(StateId::Game);
    Push(StateId::Pause);
    ProbeState::script = {{kClear, StateId::None}, {kPush, StateId::Menu}};
    stack.HandleEvent(sf::Event{});
    EXPECT_EQ(journal.lines, (Lines{"pause:event", "game:on_destroy", "pause:on_destroy", "game:destroy",
                                    "pause:destroy", "menu:create", "menu:activate"}));
    journal.lines.clear();
    stack.Draw();
    EXPECT_EQ(journal.lines, (Lines{"menu:draw"}));
}

TEST_F(StateStackTest, DeclinedEventReachesNoStateBelow) {
    Push(StateId::Game);
    Push(StateId::Pause);
    stack.HandleEvent(sf::Event{});
    EXPECT_EQ(journal.lines, (Lines{"pause:event"}));
}

TEST_F(StateStackTest, AcceptedEventReachesTheBottomLast) {
    Push(StateId::Game);
    Push(StateId::Title);
    stack.HandleEvent(sf::Event{});
    EXPECT_EQ(journal.lines, (Lines{"title:event", "game:event"}));
}

TEST_F(StateStackTest, StatePushedDuringAnUpdateIsNotUpdatedInThatPass) {
    Push(StateId::Game);
    ProbeState::script = {{kPush, StateId::Title}};
    stack.Update(sf::microseconds(16666));
    EXPECT_EQ(journal.lines, (Lines{"game:update", "title:create", "title:activate"}));
    journal.lines.clear();
    stack.Update(sf::microseconds(16666));
    EXPECT_EQ(journal.lines, (Lines{"title:update", "game:update"}));
}

TEST_F(StateStackTest, EmptyStackIgnoresStepsAndPendingPushesDoNotCount) {
    stack.Update(sf::microseconds(16666));
    stack.Draw();
    EXPECT_TRUE(journal.lines.empty());
    stack.PushState(StateId::Title);
    EXPECT_TRUE(stack.IsEmpty());
    stack.HandleEvent(sf::Event{});
    EXPECT_FALSE(stack.IsEmpty());
}

TEST_F(StateStackTest, DrawsBottomToTop) {
    Push(StateId::Game);
    Push(StateId::Pause);
    stack.Draw();
    EXPECT_EQ(journal.lines, (Lines{"game:draw", "pause:draw"}));
}

TEST_F(StateStackTest, TeardownDestroysWithoutOnDestroy) {
    Push(StateId::Game);
    Push(StateId::Pause);
    stack.Teardown();
    EXPECT_EQ(journal.lines, (Lines{"game:destroy", "pause:destroy"}));
    EXPECT_TRUE(stack.IsEmpty());
}

TEST_F(StateStackTest, RegisteringAgainReplacesTheFactory) {
    stack.RegisterState<ProbeState>(StateId::Title, &journal, std::string("other"), true);
    Push(StateId::Title);
    stack.Draw();
    EXPECT_EQ(journal.lines, (Lines{"other:draw"}));
}

TEST(StateStackDeathTest, PushingAnUnregisteredIdentifierAsserts) {
    state::StateStack stack{state::StateContext_t{}};
    stack.PushState(StateId::Settings);
    EXPECT_DEATH(stack.Update(sf::Time::Zero), "factory");
}

}  // namespace
