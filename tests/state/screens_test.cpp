#include "state/game.hpp"
#include "state/game/over.hpp"
#include "state/loading.hpp"
#include "state/menu.hpp"
#include "state/pause.hpp"
#include "state/settings.hpp"
#include "support/screen_fixture.hpp"

#include <atomic>
#include <memory>
#include <thread>

namespace {

using state::StateId;
using Names = std::vector<std::string>;
using ScreensTest = test::ScreenFixture;

// The loading task's clock, stepped by the test. The worker may be shown an earlier time than
// the screen: the moment after the worker's last look and before it reports finishing.
struct TaskClock {
    std::atomic<sf::Int64> screen_us{0}, worker_us{0};
    std::atomic<int> worker_looks{0};
    const std::thread::id screen_thread = std::this_thread::get_id();

    void Set(sf::Int64 us) { screen_us = worker_us = us; }
    parallel::ParallelTask::Clock Source(std::shared_ptr<TaskClock> self) {
        return [self] {
            if (std::this_thread::get_id() == self->screen_thread) return sf::microseconds(self->screen_us);
            ++self->worker_looks;
            return sf::microseconds(self->worker_us);
        };
    }
};

TEST_F(ScreensTest, LoadingBarFollowsTheTaskClockAndTheMissionFollowsTheWorker) {
    RegisterProbe(StateId::Game);
    auto clock = std::make_shared<TaskClock>();
    // However the test ends, the worker finishes, so the screen's destructor can join it.
    const std::unique_ptr<TaskClock, void (*)(TaskClock*)> release(clock.get(), [](TaskClock* c) { c->Set(1 << 30); });
    auto* loading = PushScreen<state::loading::LoadingState>(StateId::Loading, clock->Source(clock));
    EXPECT_EQ(loading->GetProgressBarSize(), sf::Vector2f(0, 10));
    clock->Set(250000);
    Step();
    ASSERT_TRUE(created.empty());
    EXPECT_EQ(loading->GetProgressBarSize(), sf::Vector2f(155, 10));
    Press(sf::Keyboard::Return);  // ignored

    // The screen's clock is past the second, and the worker has looked at its own just before.
    clock->screen_us = 1500000;
    clock->worker_us = 999999;
    const int looks = clock->worker_looks;
    ASSERT_TRUE(test::Eventually([&] { return clock->worker_looks > looks + 1; }));
    Step();
    ASSERT_TRUE(created.empty());
    EXPECT_EQ(loading->GetProgressBarSize(), sf::Vector2f(620, 10)) << "a full bar, not past it";

    clock->worker_us = 1000000;
    EXPECT_TRUE(test::Eventually([&] {
        Step();
        return !created.empty();
    }));
    EXPECT_EQ(created, (Names{"Game"}));
}

// The menu and the mission play their tracks; a pause freezes the mission and pauses the music,
// the network pause lets the mission run; the result screen's track tells when the mission ends.
// The result screen swallows keys and goes back to the menu in its 181st step (3,016,546 µs).
TEST_F(ScreensTest, MissionPausesAndFailsOnlyAfterTheExplosionEachWithItsMusicThenTheMenuReturns) {
    PushScreen<state::menu::MenuState>(StateId::Menu);
    EXPECT_EQ(music.Track(), MusicId::MenuMusic);
    stack.Teardown();
    RegisterProbe(StateId::Menu);
    stack.RegisterState<state::pause::PauseState>(StateId::Pause);
    stack.RegisterState<state::pause::PauseState>(StateId::NetworkPause, true);
    stack.RegisterState<state::game::over::GameOverState>(StateId::MissionFailed, "Mission failed :(");
    world::World& world = PushScreen<state::game::GameState>(StateId::Game)->GetWorld();
    EXPECT_EQ(music.Track(), MusicId::MissionMusic);
    const auto moved_in = [&](int steps) {
        const float top = world.GetViewBounds().top;
        Step(steps);
        return world.GetViewBounds().top != top;
    };

    Press(sf::Keyboard::Escape);
    EXPECT_EQ(music.Status(), sf::Music::Paused);
    EXPECT_FALSE(moved_in(3));
    Press(sf::Keyboard::Escape);  // ends the pause, and only the pause
    EXPECT_EQ(music.Status(), sf::Music::Playing);
    EXPECT_TRUE(moved_in(1));
    stack.PushState(StateId::NetworkPause);
    EXPECT_TRUE(moved_in(2));
    Press(sf::Keyboard::Escape);

    world.GetCharacter(1)->Damage(1000);
    int steps = 0;
    for (; music.Track() == MusicId::MissionMusic && steps < 200; ++steps) Step();
    EXPECT_EQ(music.Track(), MusicId::GameOverMusic);
    EXPECT_EQ(music.Status(), sf::Music::Playing);
    EXPECT_GE(steps, 60);  // the one-second explosion played first
    EXPECT_LE(steps, 62);
    Press(sf::Keyboard::Escape);
    Step(180);
    EXPECT_TRUE(created.empty());
    Step(1);
    EXPECT_EQ(created, (Names{"Menu"}));
}

// Only aircraft 1 counts, and only past the top edge.
TEST_F(ScreensTest, MissionSucceedsInTheUpdateTheFirstAircraftLeavesTheTop) {
    RegisterProbe(StateId::MissionSuccess);
    world::World& world = PushScreen<state::game::GameState>(StateId::Game)->GetWorld();
    world.SetWorldScrollCompensation(0.f);
    world.SetCurrentBattleFieldPosition(300.f);  // the view reaches above the world's top
    world.AddCharacter(2, game::character::Character::AlliedLight)->setPosition(50.f, -20.f);
    game::character::Character* aircraft = world.GetCharacter(1);
    aircraft->setPosition(100.f, 0.f);  // left of every enemy, on the edge
    EXPECT_FALSE(world.HasPlayerReachedEnd());
    aircraft->setPosition(100.f, 10.f);
    Step();
    EXPECT_TRUE(created.empty());
    aircraft->setPosition(100.f, 0.5f);  // one step of climbing takes it past y 0
    Step();
    EXPECT_EQ(created, (Names{"MissionSuccess"}));
}

// The release of the key that armed the button comes first and must not be taken for the new key.
TEST_F(ScreensTest, SettingsBindTheNextKeyPressedAfterArming) {
    PushScreen<state::settings::SettingsState>(StateId::Settings);
    for (int i = 0; i < 4; ++i) Press(sf::Keyboard::Down);  // player 1's Fire
    Press(sf::Keyboard::Return);
    stack.HandleEvent(test::KeyRelease(sf::Keyboard::Return));
    Press(sf::Keyboard::W);
    EXPECT_EQ(key_binding_1.GetAssignedKey(key_binding::PlayerAction::FIRE), sf::Keyboard::W);
}

}  // namespace
