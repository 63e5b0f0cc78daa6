#include "state/game/multiplayer.hpp"

#include "game/pickup.hpp"
#include "network/messages.hpp"
#include "support/helpers.hpp"
#include "support/net_client_rig.hpp"
#include "support/screen_fixture.hpp"

#include <SFML/Network/TcpListener.hpp>

#include <cmath>
#include <filesystem>

namespace {

using namespace network;
using key_binding::PlayerAction;
using state::StateId;
using state::game::notice_queue::NoticeQueue;
using test::net::Message_t;

TEST(NoticeQueueTest, EachNoticeHasItsTimeOnlyAFewWaitAndNoneIsLongerThanALine) {
    NoticeQueue queue;
    for (const char* text : {"1", "2", "3", "4", "5", "6"}) EXPECT_EQ(queue.Push(text), *text == '1');
    std::vector<std::string> shown = {queue.Front()};
    EXPECT_FALSE(queue.Update(sf::seconds(2.5f)));
    while (queue.Update(sf::seconds(2.5f) + sf::microseconds(1))) shown.push_back(queue.Front());
    EXPECT_EQ(shown, (std::vector<std::string>{"1", "4", "5", "6"}));  // the oldest waiting give way
    queue.Push(std::string(500, 'x'));
    EXPECT_EQ(queue.Front().size(), NoticeQueue::MAX_LENGTH);
}

// A client on a real window, its server faked in this process and its time stepped.
class ClientTest : public test::ScreenFixture {
protected:
    ClientTest() {
        for (StateId id : {StateId::Menu, StateId::MissionFailed, StateId::MissionSuccess, StateId::NetworkPause}) RegisterProbe(id);
        key_binding_1 = key_binding::KeyBinding(1, [this](sf::Keyboard::Key key) { return key == held; });
    }
    ~ClientTest() override { stack.Teardown(); }

    void Join(bool host = false) {
        rig.Start(host);
        ASSERT_TRUE(rig.UpdateUntil([this] { return client()->IsConnected(); }));
    }

    state::game::multiplayer::MultiplayerState* client() const { return rig.client; }
    const game::character::Character* Aircraft(std::int32_t identifier) { return client()->GetWorld().GetCharacter(identifier); }

    // Where an aircraft appears, or an enemy without offsets, before the field has scrolled.
    sf::Vector2f Middle() const {
        const sf::FloatRect view = client()->GetWorld().GetViewBounds();
        return {view.left + view.width / 2.f, view.top + view.height / 2.f};
    }

    std::vector<Message_t> Sent(std::int32_t type) { return test::net::OfType(rig.server.Received(), type); }

    // Of this test alone: tests run side by side in one working directory.
    test::TempDir address_directory;
    const std::string address_file = (address_directory / "ip.txt").string();
    test::net::ClientRig rig{stack, address_file};
    sf::Keyboard::Key held = sf::Keyboard::Unknown;
};

TEST_F(ClientTest, ConnectingNamesWhatItTriesAndGivesUpForTheMenuAfterFiveSeconds) {
    std::filesystem::create_directory(address_file);  // not a file to read: say so, use the loopback
    rig.server.SetRefusing(true);
    const auto text = [this] { return client()->GetConnectionText().getString(); };
    const std::string note = address_file + " cannot be used: trying 127.0.0.1\n";
    rig.Start();
    ASSERT_TRUE(rig.UpdateUntil([&] { return text() == note + "Could not connect to the remote server!"; }));
    rig.clock.Advance(sf::seconds(5.f));
    const int attempts = rig.server.Attempts();
    ASSERT_TRUE(rig.UpdateUntil([&] { return rig.server.Attempts() > attempts + 1; }));  // still trying at 5 s
    EXPECT_TRUE(created.empty());
    rig.clock.Advance(sf::microseconds(1));
    ASSERT_TRUE(rig.UpdateUntil([this] { return !created.empty(); }));
    EXPECT_EQ(created, (std::vector<std::string>{"Menu"}));
}

TEST_F(ClientTest, AHostWhosePortIsTakenSaysSoAndGoesBackToTheMenu) {
    sf::TcpListener taken;
    ASSERT_EQ(taken.listen(SERVER_PORT), sf::Socket::Done);
    rig.Start(true);
    EXPECT_EQ(client()->GetConnectionText().getString(), "Port 5000 is in use");
    rig.clock.Advance(sf::seconds(5.f) + sf::microseconds(1));
    ASSERT_TRUE(rig.UpdateUntil([this] { return !created.empty(); }));
    EXPECT_EQ(created, (std::vector<std::string>{"Menu"}));
    EXPECT_EQ(rig.server.Attempts(), 0);  // a stranger's server is no game of ours
}

TEST_F(ClientTest, TheServersMessagesShapeTheWorld) {
    Join();
    const sf::Vector2f middle = Middle();
    rig.Deliver({WriteAssignAircraft({7, middle, 0}), WriteAircraftJoined({8, {100.f, 2300.f}, 1}),
                 WriteAircraftJoined({8, {200.f, 2300.f}, 1}),  // known already: ignored
                 WriteSpawnEnemy({3, 1000.f, -80.f, true}), WriteSpawnPickup({2, {150.f, 2200.f}}),
                 WriteSpawnPickup({1, {150.f, -50000.f}}),  // far from anyone's view
                 WriteServerOneShotAction({7, PlayerAction::LAUNCH_MISSILE}),
                 WriteServerOneShotAction({99, PlayerAction::LAUNCH_MISSILE}),
                 WriteWorldStatus({2400.f, {{7, {10.f, 2000.f}}, {8, {111.f, 2222.f}}}})});
    ASSERT_EQ(client()->GetLocalIdentifiers(), std::vector<std::int32_t>{7});
    EXPECT_NE(Aircraft(7)->getPosition().x, 10.f);  // never its own
    const auto& points = client()->GetWorld().GetSpawnPoints();
    ASSERT_EQ(points.size(), 1u);
    EXPECT_EQ(sf::Vector2f(points[0].x, points[0].y), middle + sf::Vector2f(-80.f, -1000.f));
    EXPECT_TRUE(points[0].mirrored);
    const auto pickups = test::NodesOf<game::pickup::Pickup>(client()->GetWorld().GetSceneGraph());
    ASSERT_EQ(pickups.size(), 1u);
    EXPECT_EQ(pickups[0]->getPosition(), sf::Vector2f(150.f, 2200.f));
    rig.Steps(1);  // the relayed launch runs at the next world update
    EXPECT_EQ(Aircraft(7)->GetMissileAmmo(), 1);
    rig.Deliver({WriteAircraftLeft(8)});
    EXPECT_EQ(Aircraft(8), nullptr);
    rig.Deliver({WriteWorldSnapshot({2500.f, 2000.f, {{3, {100.f, 1800.f}, 0, 2, 0}, {4, {200.f, 1800.f}, 50, 3, 1}}})});
    EXPECT_EQ(Aircraft(3), nullptr);  // destroyed meanwhile
    ASSERT_NE(Aircraft(4), nullptr);
    EXPECT_EQ(Aircraft(4)->GetHitpoints(), 50);
    EXPECT_EQ(Aircraft(4)->GetMissileAmmo(), 3);
    const auto bottom = [this] { return Middle().y + client()->GetWorld().GetViewBounds().height / 2.f; };
    EXPECT_NEAR(bottom(), 2000.f, 1.f);
    // Its scroll follows the server's battlefield: as ever when level, twice as fast when behind.
    rig.Deliver({WriteWorldStatus({bottom(), {}})});
    float start = bottom();
    rig.Steps(60);
    const float unhurried = start - bottom();
    rig.Deliver({WriteWorldStatus({bottom() / 2.f, {}})});
    start = bottom();
    rig.Steps(60);
    EXPECT_NEAR(start - bottom(), 2.f * unhurried, 1.f);

    EXPECT_TRUE(created.empty());
    rig.Deliver({WriteMissionComplete(), WriteMissionComplete()});
    EXPECT_EQ(created, (std::vector<std::string>{"MissionSuccess"}));
}

TEST_F(ClientTest, TheClientReportsItsAircraftAndWhatExplodesAndLosingItEndsInFailure) {
    Join();
    const sf::Vector2f middle = Middle();
    // An enemy right on the own aircraft rams and explodes; the client says where.
    rig.Deliver({WriteAssignAircraft({7, middle, 0}), WriteAircraftJoined({8, {100.f, middle.y}, 1}), WriteSpawnEnemy({3, 0.f, 0.f, false})});
    rig.Steps(11);  // 12 updates: a status after more than 1/20 s, so every fourth
    const std::vector<Message_t> sent = rig.server.Received();
    std::vector<Message_t> statuses = test::net::OfType(sent, ClientMessage::AircraftStatus);
    std::vector<Message_t> events = test::net::OfType(sent, ClientMessage::WorldEvent);
    ASSERT_EQ(statuses.size(), 3u);
    const auto status = ReadAircraftStatus(statuses.back().packet);
    EXPECT_EQ(status->entries, (std::vector<AircraftStatusEntry_t>{
                                   {7, Aircraft(7)->getPosition(), Aircraft(7)->GetHitpoints(), Aircraft(7)->GetMissileAmmo()}}));
    ASSERT_EQ(events.size(), 1u);
    const sf::Vector2f explosion = ReadWorldEvent(events[0].packet)->position;
    EXPECT_LT(std::abs(explosion.x - middle.x) + std::abs(explosion.y - middle.y), 60.f);
    // A heavy one now, more than it has left: the other player flies on, yet the mission fails.
    rig.Deliver({WriteSpawnEnemy({2, middle.y - Aircraft(7)->getPosition().y, 0.f, false})});
    rig.Steps(80);
    EXPECT_EQ(Aircraft(7), nullptr);
    EXPECT_EQ(created, (std::vector<std::string>{"MissionFailed"}));
}

TEST_F(ClientTest, EnterAsksForOneMoreAircraftOnceEscapeOrFocusLossReleaseHeldActionsAndASilentServerIsLost) {
    Join();
    Press(sf::Keyboard::Return);  // no aircraft yet: nothing
    rig.Deliver({WriteAssignAircraft({7, {320.f, 2300.f}, 0}), WriteServerRealtimeActionChange({7, PlayerAction::FIRE, true})});
    EXPECT_TRUE(client()->IsSpawnPromptVisible());
    held = sf::Keyboard::A;  // left
    const float x = Aircraft(7)->getPosition().x;
    rig.Steps(5);
    EXPECT_LT(Aircraft(7)->getPosition().x, x);
    Press(sf::Keyboard::Return);
    Press(sf::Keyboard::Return);
    rig.Deliver({WriteSecondAircraftAccepted({8, {300.f, 2300.f}, 1})});
    EXPECT_EQ(client()->GetLocalIdentifiers(), (std::vector<std::int32_t>{7, 8}));
    EXPECT_FALSE(client()->IsSpawnPromptVisible());
    EXPECT_EQ(Sent(ClientMessage::RequestSecondAircraft).size(), 1u);
    // Keys released while another window has the focus never arrive: the others hear it now.
    stack.HandleEvent(sf::Event{sf::Event::LostFocus, {}});
    rig.Steps(1);  // what was asked before still moves it once
    const float unfocused = Aircraft(7)->getPosition().x;
    rig.Steps(5);
    EXPECT_EQ(Aircraft(7)->getPosition().x, unfocused);
    Press(sf::Keyboard::Escape);
    std::vector<Message_t> releases = Sent(ClientMessage::RealtimeActionChange);
    ASSERT_EQ(releases.size(), 2u);  // once for the focus, once for Escape
    for (Message_t& release : releases)
        EXPECT_EQ(ReadRealtimeActionChange(release.packet), (RealtimeActionChange_t{7, PlayerAction::FIRE, false}));
    EXPECT_EQ(created, (std::vector<std::string>{"NetworkPause"}));
    // A silent server is lost after two seconds, and a reconnection starts a fresh game.
    rig.Deliver({WriteNotice("Hello")});
    EXPECT_EQ(client()->GetNotice(), "Hello");
    rig.server.Close();
    rig.Steps(120);  // 2 s since the last message
    EXPECT_TRUE(client()->IsConnected());
    rig.Steps(1);
    EXPECT_EQ(client()->GetConnectionText().getString(), "Lost connection to server");
    ASSERT_TRUE(rig.UpdateUntil([this] { return client()->IsConnected(); }));
    EXPECT_TRUE(client()->GetLocalIdentifiers().empty());
    EXPECT_EQ(Aircraft(7), nullptr);
    rig.Deliver({WriteAssignAircraft({1, {320.f, 2300.f}, 0})});
    Press(sf::Keyboard::Return);
    EXPECT_EQ(Sent(ClientMessage::RequestSecondAircraft).size(), 1u);
}

TEST_F(ClientTest, HostileMessagesCostNothingButAnAnnouncedGiantDropsTheServer) {
    Join();
    // A burst is taken in one update, malformed ones ignored, no more aircraft made than fit.
    std::vector<sf::Packet> burst = {WriteAircraftJoined({8, {100.f, 2300.f}, 1})};
    for (int i = 0; i < 500; ++i) burst.push_back(WriteServerRealtimeActionChange({8, PlayerAction::FIRE, i % 2 == 0}));
    burst.push_back(test::net::Typed(ServerMessage::AssignAircraft) << std::int32_t{5});
    for (std::int32_t i = 10; i < 100; ++i) burst.push_back(WriteAircraftJoined({i, {100.f, 2300.f}, 1}));
    for (int i = 0; i < 100; ++i) burst.push_back(WriteSpawnEnemy({2, 50000.f, 0.f, false}));  // never reached
    burst.push_back(WriteWorldStatus({2400.f, {{8, {111.f, 2222.f}}}}));
    rig.Deliver(burst);
    EXPECT_EQ(Aircraft(8)->getPosition(), sf::Vector2f(111.f, 2222.f));
    EXPECT_TRUE(client()->GetLocalIdentifiers().empty());
    EXPECT_EQ(client()->GetWorld().GetPlayerCharacters().size(), MAX_AIRCRAFT);
    EXPECT_EQ(client()->GetWorld().GetSpawnPoints().size(), 10u);  // a second's worth
    rig.server.SendRaw({0x7f, 0xff, 0xff, 0xff, 0});
    rig.Steps(1);
    EXPECT_FALSE(client()->IsConnected());
}

// A joining client says goodbye when it leaves; the host does not: its server goes with it.
TEST_F(ClientTest, OnlyAJoiningClientSaysGoodbye) {
    for (const bool host : {false, true}) {
        Join(host);
        stack.ClearStates();
        stack.PushState(StateId::Menu);
        stack.Update(sf::Time::Zero);
        EXPECT_EQ(Sent(ClientMessage::Leave).size(), host ? 0u : 1u) << host;
    }
}

}  // namespace
