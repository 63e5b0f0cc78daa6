#include "network/server/session.hpp"
#include "support/net_clock.hpp"
#include "support/net_test_client.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <optional>
#include <set>

namespace {

using namespace network;
using key_binding::PlayerAction;
using test::net::Message_t;
using test::net::TestClient;

const sf::Vector2f SPAWN(320.f, 2500.f - 240.f);
const OneShotAction_t LAUNCH{1, PlayerAction::LAUNCH_MISSILE};

int Count(const std::vector<Message_t>& messages, std::int32_t type) {
    return static_cast<int>(std::count_if(messages.begin(), messages.end(), [type](const Message_t& m) { return m.type == type; }));
}

// A server driven pass by pass on a clock stepped by hand; its clients' waits run passes.
class ServerTest : public ::testing::Test {
protected:
    ServerTest() { Start(); }

    void Start(sf::Time spawn_interval = sf::seconds(2.f), server::Settings_t::Sender send = {}) {
        server::Settings_t settings;
        settings.port = 0;
        settings.now = clock.Source();
        settings.enemy_spawn_interval = spawn_interval;
        if (send) settings.send = std::move(send);
        session.emplace(sf::Vector2f(640.f, 480.f), settings);
    }

    TestClient& Client() {
        clients.push_back(std::make_unique<TestClient>([this] { session->Pass(); }));
        return *clients.back();
    }

    TestClient& Joined() {
        TestClient& client = Client();
        EXPECT_TRUE(client.Join(session->Port()));
        return client;
    }

    // Steps the clock by ticks, a pass each, running `each` before every pass.
    void Run(int ticks, const std::function<void()>& each = {}) {
        for (int i = 0; i < ticks; ++i) {
            if (each) each();
            clock.Advance(sf::milliseconds(50));
            session->Pass();
        }
    }

    // Everything the client was sent until the server relays a launch it sends now: by then all
    // it sent before has been handled.
    std::vector<Message_t> Sync(TestClient& client) {
        const OneShotAction_t launch{client.own.front(), PlayerAction::LAUNCH_MISSILE};
        client.Send(WriteClientOneShotAction(launch));
        std::vector<Message_t> messages;
        for (std::optional<Message_t> message = client.Receive(); message; message = client.Receive()) {
            if (message->type == ServerMessage::OneShotAction && ReadOneShotAction(message->packet) == launch) return messages;
            messages.push_back(std::move(*message));
        }
        ADD_FAILURE() << "the launch was never relayed";
        return messages;
    }

    test::net::SteppedClock clock;
    std::optional<server::Session> session;
    std::vector<std::unique_ptr<TestClient>> clients;
};

TEST_F(ServerTest, NewcomersGetTheSnapshotThenTheirAircraftAndOthersHearOfThem) {
    TestClient& first = Client();
    const auto first_welcome = first.Join(session->Port());
    ASSERT_TRUE(first_welcome);
    EXPECT_EQ(first_welcome->snapshot, (WorldSnapshot_t{2500.f, 2500.f, {}}));
    EXPECT_EQ(first_welcome->aircraft.identifier, 1);
    EXPECT_EQ(first_welcome->aircraft.position, SPAWN);
    first.SendStatus({{1, {100.f, 2000.f}, 80, 1}});
    first.Send(WriteRequestSecondAircraft());
    const auto wingman = first.Expect(ServerMessage::SecondAircraftAccepted, ReadSecondAircraftAccepted);
    ASSERT_TRUE(wingman);
    EXPECT_EQ(wingman->identifier, 2);

    TestClient& second = Client();
    const auto welcome = second.Join(session->Port());
    ASSERT_TRUE(welcome);
    EXPECT_EQ(welcome->aircraft.identifier, 3);
    EXPECT_EQ(welcome->snapshot.entries, (std::vector<SnapshotEntry_t>{{1, {100.f, 2000.f}, 80, 1, first_welcome->aircraft.character_type},
                                                                       {2, SPAWN, 100, 2, wingman->character_type}}));
    EXPECT_EQ(first.Expect(ServerMessage::Notice, ReadNotice), "New player!");
    EXPECT_EQ(first.Expect(ServerMessage::AircraftJoined, ReadAircraftJoined), welcome->aircraft);
    // A second aircraft is announced to the others only; a third is never granted.
    second.Send(WriteRequestSecondAircraft());
    EXPECT_EQ(second.Expect(ServerMessage::SecondAircraftAccepted, ReadSecondAircraftAccepted)->identifier, 4);
    EXPECT_EQ(first.Expect(ServerMessage::AircraftJoined, ReadAircraftJoined)->identifier, 4);
    first.Send(WriteRequestSecondAircraft());
    first.Send(WriteClientOneShotAction(LAUNCH));
    for (TestClient* client : {&first, &second}) EXPECT_EQ(client->Expect(ServerMessage::OneShotAction, ReadOneShotAction), LAUNCH);
}

TEST_F(ServerTest, ActionsReachEveryoneInOrderButOnlyForTheSendersOwnAircraft) {
    TestClient& host = Joined();
    TestClient& other = Joined();
    host.NextEvent();
    host.NextEvent();
    const RealtimeActionChange_t press{2, PlayerAction::MOVE_UP, true}, release{2, PlayerAction::MOVE_UP, false};
    other.Send(WriteClientRealtimeActionChange(press));
    other.Send(WriteClientOneShotAction(LAUNCH));  // not its aircraft
    other.Send(WriteClientRealtimeActionChange({77, PlayerAction::MOVE_LEFT, true}));
    other.Send(WriteClientOneShotAction({2, PlayerAction::LAUNCH_MISSILE}));
    other.Send(WriteClientRealtimeActionChange(release));
    other.SendStatus({{1, {5.f, -500.f}, 100, 2}, {2, {300.f, 400.f}, 90, 1}});
    host.SendStatus({{1, {100.f, 1000.f}, 100, 2}});
    for (TestClient* client : {&host, &other}) {
        EXPECT_EQ(client->Expect(ServerMessage::RealtimeActionChange, ReadRealtimeActionChange), press);
        EXPECT_EQ(client->Expect(ServerMessage::OneShotAction, ReadOneShotAction)->identifier, 2);
        EXPECT_EQ(client->Expect(ServerMessage::RealtimeActionChange, ReadRealtimeActionChange), release);
    }
    // Every client reports every explosion; only the front peer's make a pickup, one each.
    other.Send(WriteWorldEvent({{120.f, 1300.f}}));
    EXPECT_EQ(Count(Sync(other), ServerMessage::SpawnPickup), 0);
    host.Send(WriteWorldEvent({{120.f, 1300.f}}));
    EXPECT_EQ(Count(Sync(host), ServerMessage::SpawnPickup), 1);
    Run(1);
    const auto status = ReadWorldStatus(other.WaitFor(ServerMessage::WorldStatus)->packet);
    EXPECT_EQ(status->entries, (std::vector<WorldStatusEntry_t>{{1, {100.f, 1000.f}}, {2, {300.f, 400.f}}}));
}

TEST_F(ServerTest, TwentyStatusesASecondTheBattlefieldRisingFiftyUnitsAndEnemiesFromTwoSeconds) {
    TestClient& first = Joined();
    first.Send(WriteRequestSecondAircraft());
    Sync(first);
    TestClient& second = Joined();
    first.SendStatus({{2, {30.f, 40.f}, 100, 2}, {1, {10.f, 20.f}, 100, 2}});
    second.SendStatus({{3, {50.f, 60.f}, 100, 2}});
    Sync(first);
    Sync(second);
    Run(39);
    std::vector<Message_t> messages = Sync(second);
    ASSERT_EQ(Count(messages, ServerMessage::WorldStatus), 39);
    EXPECT_EQ(Count(messages, ServerMessage::SpawnEnemy), 0);
    std::vector<float> bottoms;
    for (Message_t& message : messages) {
        const auto status = message.type == ServerMessage::WorldStatus ? ReadWorldStatus(message.packet) : std::nullopt;
        if (!status) continue;
        bottoms.push_back(status->battlefield_bottom);
        EXPECT_EQ(status->entries, (std::vector<WorldStatusEntry_t>{{1, {10.f, 20.f}}, {2, {30.f, 40.f}}, {3, {50.f, 60.f}}}));
    }
    EXPECT_NEAR(bottoms[0] - bottoms[20], 50.f, 0.01f);
    Run(1);
    messages = Sync(second);
    EXPECT_EQ(Count(messages, ServerMessage::WorldStatus), 1);
    EXPECT_GE(Count(messages, ServerMessage::SpawnEnemy), 1);
}

TEST_F(ServerTest, EverySpawnHasOneOrTwoEnemiesAroundAnOffsetJustAboveTheBattlefield) {
    Start(sf::microseconds(1));  // a spawn every tick
    TestClient& client = Joined();
    Run(50);
    std::set<std::size_t> counts;
    float bottom = 0.f;
    std::vector<float> offsets;
    const auto check = [&] {
        if (offsets.empty()) return;
        const float centre = (offsets.front() + offsets.back()) / 2.f, spacing = offsets.back() - offsets.front();
        EXPECT_TRUE(offsets.size() <= 2 && -160.f <= centre && centre < 160.f && centre == std::floor(centre));
        EXPECT_TRUE(0.f <= spacing && spacing < 320.f);
        counts.insert(offsets.size());
        offsets.clear();
    };
    for (Message_t& message : Sync(client)) {
        if (message.type == ServerMessage::WorldStatus) {
            check();
            bottom = ReadWorldStatus(message.packet)->battlefield_bottom;
        } else if (const auto enemy = message.type == ServerMessage::SpawnEnemy ? ReadSpawnEnemy(message.packet) : std::nullopt) {
            EXPECT_NEAR(enemy->vertical_distance, 2500.f - (bottom - 480.f) + 100.f, 0.01f);
            offsets.push_back(enemy->horizontal_offset);
        }
    }
    check();
    EXPECT_EQ(counts.size(), 2u);
}

TEST_F(ServerTest, OnlyAircraftStillFlyingCountForSnapshotsAndTheMissionsEnd) {
    TestClient& first = Joined();
    first.Send(WriteRequestSecondAircraft());
    // Aircraft 1 is destroyed; a late key release for it, or one naming nobody, makes no record
    // at y = 0 that would end the mission.
    first.SendStatus({{1, {100.f, 300.f}, 0, 0}, {2, {200.f, 900.f}, 60, 1}});
    first.Send(WriteClientRealtimeActionChange({1, PlayerAction::FIRE, false}));
    first.Send(WriteClientRealtimeActionChange({42, PlayerAction::FIRE, false}));
    Sync(first);
    Run(2);
    std::vector<Message_t> messages = Sync(first);
    EXPECT_EQ(Count(messages, ServerMessage::MissionComplete), 0);
    EXPECT_EQ(ReadWorldStatus(messages.back().packet)->entries, (std::vector<WorldStatusEntry_t>{{2, {200.f, 900.f}}}));
    // While it explodes its owner still reports it, without hitpoints: newcomers never see it.
    first.SendStatus({{1, {100.f, 300.f}, -4, 0}, {2, {200.f, -10.f}, 60, 1}});
    Sync(first);
    TestClient& second = Client();
    const auto welcome = second.Join(session->Port());
    ASSERT_TRUE(welcome && welcome->snapshot.entries.size() == 1u);
    EXPECT_EQ(welcome->snapshot.entries[0].identifier, 2);
    // Past the top while the other explodes below: success, every tick.
    second.SendStatus({{3, {100.f, -5.f}, 40, 0}});
    Sync(second);
    Run(3);
    EXPECT_EQ(Count(Sync(second), ServerMessage::MissionComplete), 3);
}

TEST_F(ServerTest, SilentPeersGoAfterThreeSecondsSquattersTooLeavingOnesAtOnceAndIdentifiersAreNeverReused) {
    TestClient& talking = Joined();
    TestClient& silent = Joined();
    silent.Send(WriteRequestSecondAircraft());
    Sync(silent);
    // Its chatter keeps it from being silent, but it never says where its aircraft is.
    TestClient& squatter = Client();
    ASSERT_TRUE(squatter.Connect(session->Port()));
    ASSERT_EQ(squatter.WaitFor(ServerMessage::AssignAircraft)->type, ServerMessage::AssignAircraft);
    const auto chatter = [&] {
        talking.SendStatus({});
        squatter.Send(test::net::Typed(99));
    };
    Run(59, chatter);  // 2.95 s
    for (const Message_t& message : Sync(talking)) EXPECT_NE(message.type, ServerMessage::AircraftLeft);
    Run(1, chatter);
    std::set<std::int32_t> left;
    for (Message_t& message : Sync(talking))
        if (message.type == ServerMessage::AircraftLeft) left.insert(*ReadAircraftLeft(message.packet));
    EXPECT_EQ(left, (std::set<std::int32_t>{2, 3, 4}));
    // A dropped peer hears of its own aircraft too, before its connection closes.
    EXPECT_EQ(ReadAircraftLeft(silent.WaitFor(ServerMessage::AircraftLeft)->packet), 2);
    EXPECT_TRUE(silent.ClosedByServer());
    EXPECT_TRUE(squatter.ClosedByServer());

    TestClient& leaving = Joined();
    leaving.Send(WriteLeave());
    EXPECT_EQ(ReadAircraftLeft(talking.WaitFor(ServerMessage::AircraftLeft)->packet), 5);
    EXPECT_TRUE(leaving.ClosedByServer());
    const auto welcome = Client().Join(session->Port());
    ASSERT_TRUE(welcome);
    EXPECT_EQ(welcome->aircraft.identifier, 6);
    EXPECT_EQ(welcome->snapshot.entries.size(), 1u);
}

TEST_F(ServerTest, TheTenthClientClosesTheListenerAndADropOpensItAgain) {
    std::vector<TestClient*> joined;
    for (std::size_t i = 0; i < MAX_PEERS; ++i) {
        joined.push_back(&Client());
        const auto welcome = joined.back()->Join(session->Port());
        ASSERT_TRUE(welcome && welcome->snapshot.entries.size() == i);
    }
    EXPECT_FALSE(Client().Connect(session->Port()));
    joined[4]->Send(WriteLeave());
    EXPECT_TRUE(joined[4]->ClosedByServer());
    const auto welcome = Client().Join(session->Port());
    ASSERT_TRUE(welcome && welcome->snapshot.entries.size() == 9u);
    EXPECT_EQ(welcome->aircraft.identifier, 11);
    EXPECT_FALSE(Client().Connect(session->Port()));
}

TEST_F(ServerTest, AGiantPacketOrAFloodCostsThePeerItsPlaceAndNobodyElseATick) {
    TestClient& host = Joined();
    TestClient& giant = Joined();
    TestClient& flood = Joined();
    TestClient& eager = Joined();
    // Announcing 2 GB: dropped at once, before anything of it is read.
    const std::uint8_t announced[] = {0x7f, 0xff, 0xff, 0xff, 1, 2, 3, 4};
    giant.SendRaw(announced, sizeof announced);
    EXPECT_EQ(ReadAircraftLeft(host.WaitFor(ServerMessage::AircraftLeft)->packet), 2);
    // A second's worth of launches is relayed; far more at once drops the sender.
    for (int i = 0; i < 100; ++i) flood.Send(WriteClientOneShotAction({3, PlayerAction::LAUNCH_MISSILE}));
    EXPECT_TRUE(flood.ClosedByServer());
    EXPECT_EQ(Count(Sync(host), ServerMessage::OneShotAction), 20);
    // Somewhat over: the excess is dropped, the sender stays.
    for (int i = 0; i < 30; ++i) eager.Send(WriteClientOneShotAction({4, PlayerAction::LAUNCH_MISSILE}));
    eager.Send(WriteRequestSecondAircraft());
    ASSERT_TRUE(eager.WaitFor(ServerMessage::SecondAircraftAccepted));
    const std::vector<Message_t> messages = Sync(host);
    EXPECT_EQ(Count(messages, ServerMessage::OneShotAction), 20);
    EXPECT_EQ(Count(messages, ServerMessage::AircraftJoined), 1);
    // A peer streaming statuses is served in portions, and the tick comes on time for the rest.
    for (int y = 1; y <= 1000; ++y) eager.SendStatus({{4, {1.f, static_cast<float>(y)}, 100, 2}});
    Run(1);
    const auto status = ReadWorldStatus(host.WaitFor(ServerMessage::WorldStatus)->packet);
    EXPECT_LE(status->entries.at(1).position.y, 512.f);  // 16 KB of 32-byte messages
}

TEST_F(ServerTest, APeerLeftWithHalfAPacketIsDroppedAndSentNothingMore) {
    unsigned short broken_port = 0;
    int sends_after_break = 0;
    Start(sf::seconds(2.f), [&](sf::TcpSocket& socket, const sf::Packet& packet) {
        if (socket.getRemotePort() != broken_port) return SendPacket(socket, packet);
        ++sends_after_break;
        return SendResult::Broken;
    });
    TestClient& first = Joined();
    TestClient& victim = Joined();
    victim.Send(WriteRequestSecondAircraft());
    Sync(victim);
    Sync(first);
    broken_port = victim.LocalPort();
    Run(1);  // its WorldStatus breaks
    for (std::int32_t identifier : {2, 3}) EXPECT_EQ(first.Expect(ServerMessage::AircraftLeft, ReadAircraftLeft), identifier);
    EXPECT_EQ(first.Expect(ServerMessage::Notice, ReadNotice), "An ally has disconnected.");
    EXPECT_EQ(sends_after_break, 1);
    EXPECT_TRUE(victim.ClosedByServer());
}

}  // namespace
