#include "state/state_stack.hpp"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using state::StateId;
using Lines = std::vector<std::string>;
using Action = state::StateStack::Action;
using Script = std::vector<std::pair<Action, StateId>>;

// A screen that logs every call reaching it and, in its next event or update, makes the
// requests the test scripted.
class ProbeState : public state::State {
public:
    ProbeState(state::StateStack& stack, const state::StateContext_t& context, Lines* log, std::string name,
               bool pass_on)
        : State(stack, context), log(log), name(std::move(name)), pass_on(pass_on) {
        Log("create");
    }
    ~ProbeState() override { Log("destroy"); }

    void Draw() override { Log("draw"); }
    bool Update(sf::Time) override { return Run("update"); }
    bool HandleEvent(const sf::Event&) override { return Run("event"); }
    void OnActivate() override { Log("activate"); }
    void OnDestroy() override { Log("on_destroy"); }

    static inline Script script;

private:
    void Log(const std::string& what) { log->push_back(name + ":" + what); }
    bool Run(const std::string& what) {
        Log(what);
        for (const auto& [action, id] : std::exchange(script, {})) {
            if (action == Action::Push) RequestStackPush(id);
            if (action == Action::Pop) RequestStackPop();
            if (action == Action::Clear) RequestStackClear();
        }
        return pass_on;
    }

    Lines* log;
    std::string name;
    bool pass_on;
};

class StateStackTest : public ::testing::Test {
protected:
    StateStackTest() : stack(state::StateContext_t{}) {
        // Title and Game let events and steps through; Pause keeps them.
        stack.RegisterState<ProbeState>(StateId::Title, &log, std::string("title"), true);
        stack.RegisterState<ProbeState>(StateId::Menu, &log, std::string("menu"), false);
        stack.RegisterState<ProbeState>(StateId::Game, &log, std::string("game"), true);
        stack.RegisterState<ProbeState>(StateId::Pause, &log, std::string("pause"), false);
        ProbeState::script.clear();
    }

    void Push(const std::vector<StateId>& ids) {
        for (const StateId id : ids) stack.PushState(id);
        stack.Update(sf::Time::Zero);
        log.clear();
    }

    Lines log;
    state::StateStack stack;
};

TEST_F(StateStackTest, EventsRunDownToTheFirstScreenThatKeepsThemThenTheRequestsApply) {
    const std::tuple<std::vector<StateId>, Script, Lines> cases[] = {
        {{StateId::Game, StateId::Pause}, {}, {"pause:event"}},
        {{StateId::Game, StateId::Title}, {}, {"title:event", "game:event"}},
        {{StateId::Game, StateId::Pause},
         {{Action::Pop, StateId::None}, {Action::Push, StateId::Menu}},
         {"pause:event", "pause:on_destroy", "pause:destroy", "game:activate", "menu:create", "menu:activate"}},
        {{StateId::Game, StateId::Pause},
         {{Action::Clear, StateId::None}, {Action::Push, StateId::Menu}},
         {"pause:event", "game:on_destroy", "pause:on_destroy", "game:destroy", "pause:destroy", "menu:create",
          "menu:activate"}},
    };
    for (const auto& [screens, script, expected] : cases) {
        stack.Teardown();
        Push(screens);
        ProbeState::script = script;
        stack.HandleEvent(sf::Event{});
        EXPECT_EQ(log, expected);
    }
    log.clear();
    stack.Draw();
    EXPECT_EQ(log, (Lines{"menu:draw"}));
}

TEST_F(StateStackTest, StatePushedDuringAnUpdateIsNotUpdatedInThatPassAndDrawsLast) {
    Push({StateId::Game});
    ProbeState::script = {{Action::Push, StateId::Title}};
    stack.Update(sf::microseconds(16666));
    EXPECT_EQ(log, (Lines{"game:update", "title:create", "title:activate"}));
    log.clear();
    stack.Update(sf::microseconds(16666));
    stack.Draw();
    EXPECT_EQ(log, (Lines{"title:update", "game:update", "game:draw", "title:draw"}));
}

TEST_F(StateStackTest, EmptyStackIgnoresStepsUntilAPendingPushIsAppliedAndTeardownSkipsOnDestroy) {
    stack.Update(sf::microseconds(16666));
    stack.Draw();
    EXPECT_TRUE(log.empty());
    stack.PushState(StateId::Game);
    EXPECT_TRUE(stack.IsEmpty());
    stack.PushState(StateId::Pause);
    stack.HandleEvent(sf::Event{});
    EXPECT_FALSE(stack.IsEmpty());
    log.clear();
    stack.Teardown();
    EXPECT_EQ(log, (Lines{"game:destroy", "pause:destroy"}));
    EXPECT_TRUE(stack.IsEmpty());
}

}  // namespace
