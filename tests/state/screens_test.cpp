#include "state/game.hpp"
#include "state/game/over.hpp"
#include "state/loading.hpp"
#include "state/menu.hpp"
#include "state/pause.hpp"
#include "state/settings.hpp"
#include "state/title.hpp"
#include "support/screen_fixture.hpp"

#include <SFML/Graphics/Text.hpp>

#include <thread>

namespace {

using state::StateId;
using Names = std::vector<std::string>;

class ScreensTest : public test::ScreenFixture {
protected:
    template <typename T, typename... Args>
    T* PushReal(StateId id, Args... args) {
        T* made = nullptr;
        stack.RegisterState<Capture<T>>(id, &made, args...);
        stack.PushState(id);
        stack.Update(sf::Time::Zero);
        return made;
    }

    // Wraps a real screen so the test gets hold of the instance the stack made.
    template <typename T>
    struct Capture : T {
        template <typename... Args>
        Capture(state::StateStack& stack, const state::StateContext_t& context, T** out, Args... args)
            : T(stack, context, args...) {
            *out = this;
        }
    };
};

TEST_F(ScreensTest, TitleBlinksFromTheThirtyFirstStepAndCarriesTheRest) {
    auto* title = PushReal<state::title::TitleState>(StateId::Title);
    Step(30);  // 499,980 µs
    EXPECT_EQ(title->GetText().getFillColor(), sf::Color::White);
    Step(1);  // 516,646 µs: white once more, grey next
    EXPECT_EQ(title->GetText().getFillColor(), sf::Color::White);
    Step(29);  // 16,646 + 29 × 16,666 = 499,960 µs: not yet
    EXPECT_EQ(title->GetText().getFillColor(), sf::Color::White);
    Step(1);
    EXPECT_EQ(title->GetText().getFillColor(), sf::Color(128, 128, 128));
}

TEST_F(ScreensTest, TwoKeysInOneFrameReachTitleThenMenu) {
    stack.RegisterState<state::title::TitleState>(StateId::Title);
    stack.RegisterState<state::menu::MenuState>(StateId::Menu);
    RegisterProbe(StateId::HostGame);
    RegisterProbe(StateId::Loading);
    stack.PushState(StateId::Title);
    Step();
    Press(sf::Keyboard::Space);  // leaves the title
    Press(sf::Keyboard::Down);   // already moves the menu's selection to Host
    Press(sf::Keyboard::Return);
    EXPECT_EQ(created, (Names{"HostGame"}));
}

TEST_F(ScreensTest, PauseFreezesTheMissionUntilEscape) {
    RegisterProbe(StateId::Menu);
    // A counter below the pause shows whether steps get through.
    struct Counter : state::State {
        Counter(state::StateStack& s, const state::StateContext_t& c, int* steps) : State(s, c), steps(steps) {}
        void Draw() override {}
        bool Update(sf::Time) override { return ++*steps, true; }
        bool HandleEvent(const sf::Event& event) override {
            if (event.type == sf::Event::KeyPressed) ++*steps;
            return true;
        }
        int* steps;
    };
    int steps = 0;
    stack.RegisterState<Counter>(StateId::Game, &steps);
    stack.RegisterState<state::pause::PauseState>(StateId::Pause);
    stack.RegisterState<state::pause::PauseState>(StateId::NetworkPause, true);
    stack.PushState(StateId::Game);
    stack.PushState(StateId::Pause);
    Step(3);
    Press(sf::Keyboard::A);  // swallowed
    Release(sf::Keyboard::Escape);
    EXPECT_EQ(steps, 0);
    Press(sf::Keyboard::Escape);
    Step();
    EXPECT_EQ(steps, 1);

    stack.PushState(StateId::NetworkPause);
    Step(2);
    EXPECT_EQ(steps, 3);  // the network form lets the mission run on
    Press(sf::Keyboard::BackSpace);
    EXPECT_EQ(created, (Names{"Menu"}));
    Step();
    EXPECT_EQ(steps, 3);  // the mission is gone
}

TEST_F(ScreensTest, ResultReturnsToTheMenuInItsHundredAndEightyFirstStep) {
    RegisterProbe(StateId::Menu);
    PushReal<state::game::over::GameOverState>(StateId::MissionSuccess, "Mission success :)");
    Press(sf::Keyboard::Escape);
    Step(180);  // 2,999,880 µs
    EXPECT_TRUE(created.empty());
    Step(1);
    EXPECT_EQ(created, (Names{"Menu"}));
}

TEST_F(ScreensTest, LoadingBarFollowsTheTaskThenStartsTheMission) {
    RegisterProbe(StateId::Game);
    auto* loading = PushReal<state::loading::LoadingState>(StateId::Loading);
    EXPECT_EQ(loading->GetProgressBarSize(), sf::Vector2f(0, 10));
    loading->SetCompletition(0.25f);
    EXPECT_EQ(loading->GetProgressBarSize(), sf::Vector2f(155, 10));
    Press(sf::Keyboard::Return);  // ignored
    while (created.empty()) {
        Step();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(created, (Names{"Game"}));
}

TEST_F(ScreensTest, LoadingShowsAFullBarPastOneSecond) {
    RegisterProbe(StateId::Game);
    auto* loading = PushReal<state::loading::LoadingState>(StateId::Loading);
    loading->SetCompletition(1.f);
    EXPECT_EQ(loading->GetProgressBarSize(), sf::Vector2f(620, 10));
    // Steps until the hand-over never trip the bar's range check, however late they come.
    while (created.empty()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(40));
        Step();
    }
}

TEST_F(ScreensTest, MissionPausesOnEscapeAndEndsOnlyAfterTheExplosion) {
    RegisterProbe(StateId::Pause);
    RegisterProbe(StateId::MissionFailed);
    RegisterProbe(StateId::MissionSuccess);
    auto* mission = PushReal<state::game::GameState>(StateId::Game);
    Press(sf::Keyboard::Escape);
    EXPECT_EQ(created, (Names{"Pause"}));
    created.clear();

    world::World& world = mission->GetWorld();
    game::character::Character* aircraft = world.GetCharacter(1);
    ASSERT_NE(aircraft, nullptr);
    aircraft->Damage(1000);
    int steps = 0;
    while (created.empty() && steps < 200) {
        Step();
        ++steps;
    }
    EXPECT_EQ(created.front(), "MissionFailed");
    EXPECT_GE(steps, 60);  // the one-second explosion played first
    EXPECT_LE(steps, 62);
}

TEST_F(ScreensTest, MissionSucceedsInTheUpdateTheAircraftLeavesTheTop) {
    RegisterProbe(StateId::MissionSuccess);
    auto* mission = PushReal<state::game::GameState>(StateId::Game);
    world::World& world = mission->GetWorld();
    world.SetWorldScrollCompensation(0.f);
    world.SetCurrentBattleFieldPosition(300.f);  // the view reaches above the world's top
    game::character::Character* aircraft = world.GetCharacter(1);
    aircraft->setPosition(100.f, 10.f);  // left of every enemy
    Step();
    EXPECT_TRUE(created.empty());
    aircraft->setPosition(100.f, 0.5f);  // one step of climbing takes it past y 0
    Step();
    EXPECT_EQ(created, (Names{"MissionSuccess"}));
}

TEST_F(ScreensTest, SettingsBindTheNextKeyAfterArming) {
    auto* settings = PushReal<state::settings::SettingsState>(StateId::Settings);
    auto label = [&](std::size_t i) { return settings->GetLabel(i).GetText().getString().toAnsiString(); };
    // Labels are indexed by action (left, right, up, down, fire, missile) + 6 per player.
    EXPECT_EQ(label(2), "W");
    EXPECT_EQ(label(10), "Comma");

    // Select player 1's Fire (fifth button), arm it with Enter; the Enter itself is not bound.
    for (int i = 0; i < 4; ++i) Press(sf::Keyboard::Down);
    Press(sf::Keyboard::Return);
    Release(sf::Keyboard::Return);
    EXPECT_EQ(label(4), "V");
    Press(sf::Keyboard::W);
    EXPECT_EQ(label(4), "W");
    EXPECT_EQ(label(2), "Unknown");  // Move up lost its key
    EXPECT_EQ(key_binding_1.GetAssignedKey(key_binding::PlayerAction::FIRE), sf::Keyboard::W);

    // Escape is an ordinary key here; player 2 is untouched by player 1's changes.
    Press(sf::Keyboard::Return);
    Press(sf::Keyboard::Escape);
    EXPECT_EQ(label(4), "Escape");
    EXPECT_EQ(label(10), "Comma");

    // A new settings screen shows the application's bindings as changed.
    stack.Teardown();
    settings = PushReal<state::settings::SettingsState>(StateId::Settings);
    EXPECT_EQ(label(4), "Escape");
}

}  // namespace
