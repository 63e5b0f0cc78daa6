#include "state/game/multiplayer.hpp"

#include "network/messages.hpp"
#include "support/net_clock.hpp"
#include "support/net_fake_server.hpp"
#include "support/screen_fixture.hpp"

#include <SFML/System/Clock.hpp>
#include <SFML/System/Sleep.hpp>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

using namespace network;
using key_binding::PlayerAction;
using state::StateId;
using state::game::multiplayer::MultiplayerState;
using state::game::notice_queue::NoticeQueue;
using test::net::Message_t;

const sf::Time STEP = sf::microseconds(16666);

TEST(NoticeQueueTest, EachNoticeHasItsTimeOnlyAFewWaitAndNoneIsLongerThanALine) {
    NoticeQueue queue;
    EXPECT_TRUE(queue.Push("1"));
    for (const char* text : {"2", "3", "4", "5", "6"}) EXPECT_FALSE(queue.Push(text));
    std::vector<std::string> shown = {queue.Front()};
    EXPECT_FALSE(queue.Update(sf::seconds(2.5f)));
    while (queue.Update(sf::seconds(2.5f) + sf::microseconds(1))) shown.push_back(queue.Front());
    // The one on screen stays; the oldest waiting ones give way.
    EXPECT_EQ(shown, (std::vector<std::string>{"1", "4", "5", "6"}));
    EXPECT_TRUE(queue.Empty());
    queue.Push(std::string(500, 'x'));
    EXPECT_EQ(queue.Front().size(), NoticeQueue::MAX_LENGTH);
}

// A joining client on a real window, its server faked in this process and its time stepped.
class ClientTest : public test::ScreenFixture {
protected:
    ClientTest() {
        for (StateId id : {StateId::Menu, StateId::MissionFailed, StateId::MissionSuccess, StateId::NetworkPause}) RegisterProbe(id);
        key_binding_1 = key_binding::KeyBinding(1, [this](sf::Keyboard::Key key) { return key == held; });
        std::ofstream(address_file) << "127.0.0.1";
    }
    ~ClientTest() override {
        stack.Teardown();
        std::filesystem::remove(address_file);
    }

    struct Capture : MultiplayerState {
        Capture(state::StateStack& stack, const state::StateContext_t& context, MultiplayerState** out, bool host,
                state::game::multiplayer::Options_t options)
            : MultiplayerState(stack, context, host, options) {
            *out = this;
        }
    };

    void Start(bool host = false) {
        stack.RegisterState<Capture>(host ? StateId::HostGame : StateId::JoinGame, &state, host,
                                     state::game::multiplayer::Options_t{clock.Source(), server.Connect(), address_file});
        stack.PushState(host ? StateId::HostGame : StateId::JoinGame);
        stack.Update(sf::Time::Zero);
    }

    // Updates without game time until the condition holds; the connector has a thread of its own.
    void UpdateUntil(const std::function<bool()>& condition) {
        sf::Clock waited;
        while (!condition() && waited.getElapsedTime() < sf::seconds(20.f)) {
            stack.Update(sf::Time::Zero);
            sf::sleep(sf::milliseconds(1));
        }
        ASSERT_TRUE(condition());
    }

    void Join() {
        Start();
        UpdateUntil([this] { return state->IsConnected(); });
    }

    void Steps(int count) {
        for (int i = 0; i < count; ++i) {
            clock.Advance(STEP);
            stack.Update(STEP);
        }
    }

    // Whatever the server sends is handled at the next update, all of it.
    void Deliver(const std::vector<sf::Packet>& packets) {
        test::net::Bytes stream;
        for (const sf::Packet& packet : packets) {
            const test::net::Bytes frame = test::net::Framed(packet);
            stream.insert(stream.end(), frame.begin(), frame.end());
        }
        server.SendRaw(stream);
        Steps(1);
    }

    const game::character::Character* Aircraft(std::int32_t identifier) { return state->GetWorld().GetCharacter(identifier); }

    static std::vector<Message_t> OfType(const std::vector<Message_t>& messages, std::int32_t type) {
        std::vector<Message_t> found;
        std::copy_if(messages.begin(), messages.end(), std::back_inserter(found), [type](const Message_t& m) { return m.type == type; });
        return found;
    }

    test::net::FakeServer server;
    test::net::SteppedClock clock;
    MultiplayerState* state = nullptr;
    sf::Keyboard::Key held = sf::Keyboard::Unknown;
    const std::string address_file = "multiplayer_test_ip.txt";
};

TEST_F(ClientTest, ConnectingShowsTheAddressAndAFailedJoinReturnsToTheMenuAfterFiveSeconds) {
    server.SetRefusing(true);
    Start();
    EXPECT_EQ(state->GetConnectionText().getString(), sf::String(L"Connecting to 127.0.0.1\u2026"));
    UpdateUntil([this] { return server.Attempts() >= 1 && !state->IsConnected(); });
    UpdateUntil([this] { return state->GetConnectionText().getString() == "Could not connect to the remote server!"; });
    clock.Advance(sf::seconds(5.f));
    // Still trying at 5 s: another attempt starts, no menu.
    const int attempts = server.Attempts();
    UpdateUntil([&] { return server.Attempts() > attempts + 1; });
    EXPECT_TRUE(created.empty());
    clock.Advance(sf::microseconds(1));
    UpdateUntil([this] { return !created.empty(); });
    EXPECT_EQ(created, (std::vector<std::string>{"Menu"}));
}

TEST_F(ClientTest, AnUnusableAddressFileIsNamedAndTheLoopbackAddressTried) {
    std::filesystem::remove(address_file);
    std::filesystem::create_directory(address_file);
    Start();
    EXPECT_EQ(state->GetConnectionText().getString().toAnsiString().rfind(address_file + " cannot be used\n", 0), 0u);
    std::filesystem::remove(address_file);
}

TEST_F(ClientTest, TheServersMessagesShapeTheWorld) {
    Join();
    const sf::FloatRect view = state->GetWorld().GetViewBounds();
    const sf::Vector2f spawn(view.left + view.width / 2.f, view.top + view.height / 2.f);
    Deliver({WriteAssignAircraft({7, spawn, 0}), WriteAircraftJoined({8, {100.f, 2300.f}, 1}),
             WriteAircraftJoined({8, {200.f, 2300.f}, 1}),  // known already: ignored
             WriteSpawnEnemy({3, 1000.f, -80.f, true}), WriteSpawnPickup({2, {150.f, 2200.f}}),
             WriteSpawnPickup({1, {150.f, -50000.f}}),  // far from anyone's view
             WriteServerOneShotAction({7, PlayerAction::LAUNCH_MISSILE}), WriteServerOneShotAction({99, PlayerAction::LAUNCH_MISSILE}),
             WriteWorldStatus({2400.f, {{7, {10.f, 2000.f}}, {8, {111.f, 2222.f}}}})});
    ASSERT_EQ(state->GetLocalIdentifiers(), std::vector<std::int32_t>{7});
    ASSERT_TRUE(Aircraft(7) && Aircraft(8));
    EXPECT_NE(Aircraft(7)->getPosition().x, 10.f);  // never its own
    EXPECT_EQ(Aircraft(8)->getPosition(), sf::Vector2f(111.f, 2222.f));
    const auto& points = state->GetWorld().GetSpawnPoints();
    ASSERT_EQ(points.size(), 1u);
    EXPECT_EQ(sf::Vector2f(points[0].x, points[0].y), spawn + sf::Vector2f(-80.f, -1000.f));
    EXPECT_TRUE(points[0].mirrored);
    std::vector<sf::Vector2f> pickups;
    std::function<void(const scene::SceneNode&)> find = [&](const scene::SceneNode& node) {
        if (node.GetCategory() & scene::Category::PICKUP) pickups.push_back(node.getPosition());
        for (const auto& child : node.GetChildren()) find(*child);
    };
    find(state->GetWorld().GetSceneGraph());
    EXPECT_EQ(pickups.size(), 1u);
    Steps(1);  // the relayed launch runs at the next world update
    EXPECT_EQ(Aircraft(7)->GetMissileAmmo(), 1);

    Deliver({WriteAircraftLeft(8)});
    EXPECT_EQ(Aircraft(8), nullptr);
    EXPECT_TRUE(created.empty());
    Deliver({WriteMissionComplete(), WriteMissionComplete()});
    EXPECT_EQ(created, (std::vector<std::string>{"MissionSuccess"}));
}

TEST_F(ClientTest, LosingTheOwnAircraftEndsInFailure) {
    Join();
    const sf::FloatRect view = state->GetWorld().GetViewBounds();
    const sf::Vector2f spawn(view.left + view.width / 2.f, view.top + view.height / 2.f);
    // Two heavy enemies ram it at once: more than its hitpoints. The other player flies on.
    Deliver({WriteAssignAircraft({7, spawn, 0}), WriteAircraftJoined({8, {100.f, spawn.y}, 1}),
             WriteSpawnEnemy({2, 0.f, 0.f, false}), WriteSpawnEnemy({2, 0.f, 0.f, false})});
    Steps(90);
    EXPECT_EQ(Aircraft(7), nullptr);
    EXPECT_EQ(created, (std::vector<std::string>{"MissionFailed"}));
}

TEST_F(ClientTest, SnapshotsSetTheBattlefieldAndScrollFollowsTheServers) {
    Join();
    Deliver({WriteWorldSnapshot({2500.f, 2000.f, {{3, {100.f, 1800.f}, 0, 2, 0}, {4, {200.f, 1800.f}, 50, 3, 1}}})});
    EXPECT_EQ(Aircraft(3), nullptr);  // destroyed meanwhile
    ASSERT_NE(Aircraft(4), nullptr);
    EXPECT_EQ(Aircraft(4)->GetHitpoints(), 50);
    EXPECT_EQ(Aircraft(4)->GetMissileAmmo(), 3);
    const auto bottom = [this] { return state->GetWorld().GetViewBounds().top + state->GetWorld().GetViewBounds().height; };
    EXPECT_NEAR(bottom(), 2000.f, 1.f);
    // The server's battlefield is half as far down: this client scrolls twice as fast to catch up.
    const float before = bottom();
    Steps(60);
    const float unhurried = before - bottom();
    Deliver({WriteWorldStatus({bottom() / 2.f, {}})});
    const float start = bottom();
    Steps(60);
    EXPECT_NEAR(start - bottom(), 2.f * unhurried, 1.f);
}

TEST_F(ClientTest, TheClientReportsItsAircraftAndWhatExplodes) {
    Join();
    const sf::FloatRect view = state->GetWorld().GetViewBounds();
    const sf::Vector2f spawn(view.left + view.width / 2.f, view.top + view.height / 2.f);
    server.Received();
    // An enemy right on the own aircraft: it rams and explodes, and the client says where.
    Deliver({WriteAssignAircraft({7, spawn, 0}), WriteSpawnEnemy({3, 0.f, 0.f, false})});
    Steps(11);  // 12 updates: a status after more than 1/20 s, every fourth
    const std::vector<Message_t> sent = server.Received();
    const std::vector<Message_t> statuses = OfType(sent, ClientMessage::AircraftStatus);
    ASSERT_EQ(statuses.size(), 3u);
    sf::Packet last = statuses.back().packet;
    const auto status = ReadAircraftStatus(last);
    ASSERT_TRUE(status && status->entries.size() == 1u);
    EXPECT_EQ(status->entries[0], (AircraftStatusEntry_t{7, Aircraft(7)->getPosition(), Aircraft(7)->GetHitpoints(),
                                                         Aircraft(7)->GetMissileAmmo()}));
    EXPECT_LT(status->entries[0].hitpoints, 100);
    const std::vector<Message_t> events = OfType(sent, ClientMessage::WorldEvent);
    ASSERT_EQ(events.size(), 1u);
    sf::Packet event = events[0].packet;
    const auto explosion = ReadWorldEvent(event);
    ASSERT_TRUE(explosion);
    EXPECT_LT(std::abs(explosion->position.x - spawn.x) + std::abs(explosion->position.y - spawn.y), 60.f);
}

TEST_F(ClientTest, EnterAsksForTheSecondAircraftOnceAndThePromptBlinksUntilThen) {
    Join();
    Press(sf::Keyboard::Return);  // no aircraft yet: nothing
    Deliver({WriteAssignAircraft({7, {320.f, 2300.f}, 0})});
    EXPECT_TRUE(state->IsSpawnPromptVisible());
    Steps(30);
    EXPECT_FALSE(state->IsSpawnPromptVisible());
    Steps(31);
    EXPECT_TRUE(state->IsSpawnPromptVisible());
    Press(sf::Keyboard::Return);
    Press(sf::Keyboard::Return);
    Deliver({WriteSecondAircraftAccepted({8, {300.f, 2300.f}, 1})});
    EXPECT_EQ(state->GetLocalIdentifiers(), (std::vector<std::int32_t>{7, 8}));
    EXPECT_FALSE(state->IsSpawnPromptVisible());
    EXPECT_EQ(OfType(server.Received(), ClientMessage::RequestSecondAircraft).size(), 1u);
}

TEST_F(ClientTest, EscapeAndFocusLossReleaseTheHeldActionsForTheOthers) {
    Join();
    Deliver({WriteAssignAircraft({7, {320.f, 2300.f}, 0}), WriteServerRealtimeActionChange({7, PlayerAction::FIRE, true})});
    held = sf::Keyboard::A;  // left
    const float x = Aircraft(7)->getPosition().x;
    Steps(5);
    EXPECT_LT(Aircraft(7)->getPosition().x, x);
    server.Received();
    stack.HandleEvent(sf::Event{sf::Event::LostFocus, {}});
    Steps(1);  // what was asked before still moves it once
    const float unfocused = Aircraft(7)->getPosition().x;
    Steps(5);
    EXPECT_EQ(Aircraft(7)->getPosition().x, unfocused);
    Press(sf::Keyboard::Escape);
    std::vector<Message_t> releases = OfType(server.Received(), ClientMessage::RealtimeActionChange);
    ASSERT_EQ(releases.size(), 2u);  // once for the focus, once for Escape
    for (Message_t& release : releases)
        EXPECT_EQ(ReadRealtimeActionChange(release.packet), (RealtimeActionChange_t{7, PlayerAction::FIRE, false}));
    EXPECT_EQ(created, (std::vector<std::string>{"NetworkPause"}));
}

TEST_F(ClientTest, ASilentServerIsLostAfterTwoSecondsAndAReconnectionStartsAFreshGame) {
    Join();
    Deliver({WriteAssignAircraft({7, {320.f, 2300.f}, 0}), WriteNotice("Hello")});
    EXPECT_EQ(state->GetNotice(), "Hello");
    Press(sf::Keyboard::Return);
    server.Close();
    Steps(120);  // 2 s without a message, the update that delivered included
    EXPECT_TRUE(state->IsConnected());
    Steps(1);
    EXPECT_FALSE(state->IsConnected());
    EXPECT_EQ(state->GetConnectionText().getString(), "Lost connection to server");
    UpdateUntil([this] { return state->IsConnected(); });
    EXPECT_TRUE(state->GetLocalIdentifiers().empty());
    EXPECT_EQ(Aircraft(7), nullptr);
    Deliver({WriteAssignAircraft({1, {320.f, 2300.f}, 0})});
    Press(sf::Keyboard::Return);
    EXPECT_EQ(OfType(server.Received(), ClientMessage::RequestSecondAircraft).size(), 1u);
}

TEST_F(ClientTest, HostileMessagesCostNothingButAnAnnouncedGiantDropsTheServer) {
    Join();
    std::vector<sf::Packet> burst = {WriteAircraftJoined({8, {100.f, 2300.f}, 1})};
    // A burst of many is taken in one update; malformed and unknown ones are ignored whole.
    for (int i = 0; i < 500; ++i) burst.push_back(WriteServerRealtimeActionChange({8, PlayerAction::FIRE, i % 2 == 0}));
    burst.push_back(test::net::Typed(ServerMessage::AssignAircraft) << std::int32_t{5});
    burst.push_back(test::net::Typed(99));
    burst.push_back(WriteWorldStatus({2400.f, {{8, {111.f, 2222.f}}}}));
    Deliver(burst);
    EXPECT_EQ(Aircraft(8)->getPosition(), sf::Vector2f(111.f, 2222.f));
    EXPECT_TRUE(state->GetLocalIdentifiers().empty());
    // More aircraft than a game holds are not made.
    std::vector<sf::Packet> crowd;
    for (std::int32_t i = 10; i < 100; ++i) crowd.push_back(WriteAircraftJoined({i, {100.f, 2300.f}, 1}));
    Deliver(crowd);
    EXPECT_EQ(state->GetWorld().GetPlayerCharacters().size(), MAX_AIRCRAFT);
    EXPECT_TRUE(state->IsConnected());
    server.SendRaw({0x7f, 0xff, 0xff, 0xff, 0});
    Steps(1);
    EXPECT_FALSE(state->IsConnected());
}

// A joining client says goodbye when it leaves; the host does not: its server goes with it.
TEST_F(ClientTest, OnlyAJoiningClientSaysGoodbye) {
    for (const bool host : {false, true}) {
        Start(host);
        UpdateUntil([this] { return state->IsConnected(); });
        stack.ClearStates();
        stack.PushState(StateId::Menu);
        stack.Update(sf::Time::Zero);
        EXPECT_EQ(OfType(server.Received(), ClientMessage::Leave).size(), host ? 0u : 1u) << host;
    }
}

}  // namespace
