#include "network/server/session.hpp"
#include "support/net_test_client.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <optional>

namespace {

using namespace network;
using key_binding::PlayerAction;
using test::net::Message_t;
using test::net::OfType;
using test::net::Read;
using test::net::TestClient;
using Entries = std::vector<WorldStatusEntry_t>;

// A server driven pass by pass on a clock stepped by hand; its clients' waits run passes.
class ServerTest : public ::testing::Test {
protected:
    ServerTest() { Start(); }

    void Start(server::Settings_t::Sender send = {}) {
        server::Settings_t settings;
        settings.port = 0;
        settings.now = clock.Source();
        if (send) settings.send = std::move(send);
        session.emplace(sf::Vector2f(640.f, 480.f), settings);
    }

    TestClient& Client() {
        clients.push_back(std::make_unique<TestClient>([this] { session->Pass(); }));
        return *clients.back();
    }

    TestClient& Joined() {
        EXPECT_TRUE(Client().Join(session->Port()));
        return *clients.back();
    }

    // Steps the clock by ticks of 50 ms, a pass each, running `each` before every pass.
    void Run(int ticks, const std::function<void()>& each = {}) {
        for (int i = 0; i < ticks; ++i) {
            if (each) each();
            clock.Advance(sf::milliseconds(50));
            session->Pass();
        }
    }

    test::net::SteppedClock clock;
    std::optional<server::Session> session;
    std::vector<std::unique_ptr<TestClient>> clients;
};

TEST_F(ServerTest, NewcomersAreWelcomedAndActionsReachEveryoneButOnlyForTheSendersOwnAircraft) {
    const auto welcome = Client().Join(session->Port());
    TestClient& host = *clients[0];
    ASSERT_TRUE(welcome && welcome->aircraft.identifier == 1);
    host.SendStatus({{1, {100.f, 2000.f}, 80, 1}});
    host.Send(WriteRequestSecondAircraft());
    const auto wingman = Read(ReadSecondAircraftAccepted, host.Expect(ServerMessage::SecondAircraftAccepted));
    ASSERT_TRUE(wingman && wingman->identifier == 2);
    const auto second = Client().Join(session->Port());
    TestClient& other = *clients[1];
    ASSERT_TRUE(second && second->aircraft.identifier == 3);
    EXPECT_EQ(second->snapshot.entries, (std::vector<SnapshotEntry_t>{{1, {100.f, 2000.f}, 80, 1, welcome->aircraft.character_type},
                                                                      {2, wingman->position, 100, 2, wingman->character_type}}));
    // Only the others hear of a new aircraft.
    EXPECT_EQ(Read(ReadNotice, host.Expect(ServerMessage::Notice)), "New player!");
    EXPECT_EQ(Read(ReadAircraftJoined, host.Expect(ServerMessage::AircraftJoined)), second->aircraft);

    const RealtimeActionChange_t press{3, PlayerAction::MOVE_UP, true}, release{3, PlayerAction::MOVE_UP, false};
    other.Send(WriteClientRealtimeActionChange(press));
    other.Send(WriteClientOneShotAction({1, PlayerAction::LAUNCH_MISSILE}));  // not its aircraft
    other.Send(WriteClientRealtimeActionChange({77, PlayerAction::MOVE_LEFT, true}));
    other.Send(WriteClientRealtimeActionChange(release));
    for (TestClient* client : {&host, &other}) {
        EXPECT_EQ(Read(ReadRealtimeActionChange, client->Expect(ServerMessage::RealtimeActionChange)), press);
        EXPECT_EQ(Read(ReadRealtimeActionChange, client->Expect(ServerMessage::RealtimeActionChange)), release);
    }
    // Nobody gets a third aircraft.
    host.Send(WriteRequestSecondAircraft());
    host.Send(WriteClientOneShotAction({1, PlayerAction::LAUNCH_MISSILE}));
    for (TestClient* client : {&host, &other}) EXPECT_TRUE(client->Expect(ServerMessage::OneShotAction));
    // Every client reports every explosion it sees; only the oldest player's make a pickup, and
    // when it leaves the next oldest decides.
    other.Send(WriteWorldEvent({{120.f, 1300.f}}));
    EXPECT_EQ(OfType(other.Sync(), ServerMessage::SpawnPickup).size(), 0u);
    host.Send(WriteWorldEvent({{120.f, 1300.f}}));
    host.Sync();
    EXPECT_EQ(OfType(other.Sync(), ServerMessage::SpawnPickup).size(), 1u);
    host.Send(WriteLeave());
    EXPECT_TRUE(host.ClosedByServer());
    other.Send(WriteWorldEvent({{120.f, 1300.f}}));
    EXPECT_EQ(OfType(other.Sync(), ServerMessage::SpawnPickup).size(), 1u);
}

// The server's thread sleeps in Wait for as long as UntilDue says.
TEST_F(ServerTest, WaitsUntilTheNextStepOrTick) {
    struct Row_t {
        int advance_us;
        bool pass;
        int until_due_us;
    };
    const Row_t rows[] = {
        {0, false, 16666},     {10000, false, 6666}, {6666, false, 0}, {0, true, 16666},
        {33332, true, 2},      {2, true, 16664},     {100000, false, 0},
    };
    for (const Row_t& row : rows) {
        clock.Advance(sf::microseconds(row.advance_us));
        if (row.pass) session->Pass();
        EXPECT_EQ(session->UntilDue().asMicroseconds(), row.until_due_us) << &row - rows;
    }
}

TEST_F(ServerTest, TicksFollowTheClockAndOnlyAircraftStillFlyingCount) {
    TestClient& first = Joined();
    first.Send(WriteRequestSecondAircraft());
    first.Sync();
    TestClient& second = Joined();
    first.SendStatus({{2, {30.f, 40.f}, 100, 2}, {1, {10.f, 20.f}, 100, 2}});
    second.SendStatus({{3, {50.f, 60.f}, 100, 2}, {1, {5.f, -500.f}, 100, 2}});  // not its aircraft: ignored
    first.Sync();
    second.Sync();
    // 20 statuses a second, records in order, the battlefield 50 units a second, enemies at 2 s.
    Run(39);
    std::vector<Message_t> messages = second.Sync();
    ASSERT_EQ(OfType(messages, ServerMessage::WorldStatus).size(), 39u);
    EXPECT_EQ(OfType(messages, ServerMessage::SpawnEnemy).size(), 0u);
    const auto status = [&messages](std::size_t i) { return *ReadWorldStatus(messages[i].packet); };
    EXPECT_EQ(status(38).entries, (Entries{{1, {10.f, 20.f}}, {2, {30.f, 40.f}}, {3, {50.f, 60.f}}}));
    EXPECT_NEAR(status(0).battlefield_bottom - status(20).battlefield_bottom, 50.f, 0.01f);
    Run(1);
    messages = second.Sync();
    EXPECT_EQ(OfType(messages, ServerMessage::WorldStatus).size(), 1u);
    EXPECT_GE(OfType(messages, ServerMessage::SpawnEnemy).size(), 1u);

    // Aircraft 1 is destroyed: no late key release for it, or for nobody, makes a record at y = 0.
    first.SendStatus({{1, {10.f, 20.f}, 0, 0}, {2, {30.f, 40.f}, 60, 1}});
    first.Send(WriteClientRealtimeActionChange({1, PlayerAction::FIRE, false}));
    first.Send(WriteClientRealtimeActionChange({42, PlayerAction::FIRE, false}));
    first.Sync();
    Run(2);
    messages = first.Sync();
    EXPECT_EQ(OfType(messages, ServerMessage::MissionComplete).size(), 0u);
    EXPECT_EQ(ReadWorldStatus(messages.back().packet)->entries, (Entries{{2, {30.f, 40.f}}, {3, {50.f, 60.f}}}));
    // Still reported, exploding: no newcomer sees it. All others past the top: success, each tick.
    first.SendStatus({{1, {10.f, 20.f}, -4, 0}, {2, {30.f, -10.f}, 60, 1}});
    second.SendStatus({{3, {50.f, -5.f}, 40, 0}});
    first.Sync();
    second.Sync();
    EXPECT_EQ(Client().Join(session->Port())->snapshot.entries.size(), 2u);
    clients[2]->SendStatus({{4, {1.f, 0.f}, 100, 2}});
    clients[2]->Sync();
    first.Sync();
    Run(3);
    // Announced once; the next player starts a fresh battlefield, and so does the one after the
    // last aircraft of that mission is gone.
    for (int mission = 0; mission < 2; ++mission) {
        const auto welcome = Client().Join(session->Port());
        ASSERT_TRUE(welcome);
        EXPECT_EQ(welcome->snapshot, (WorldSnapshot_t{2500.f, 2500.f, {}}));
        EXPECT_EQ(welcome->aircraft.position, sf::Vector2f(320.f, 2260.f));
        clients.back()->SendStatus({{welcome->aircraft.identifier, {1.f, 2000.f}, 0, 0}});
        clients.back()->Sync();
        Run(1);
    }
    std::vector<Message_t> seen;
    for (auto message = first.Receive(); message && message->type != ServerMessage::AircraftJoined; message = first.Receive())
        seen.push_back(std::move(*message));
    EXPECT_EQ(OfType(seen, ServerMessage::MissionComplete).size(), 1u);
}

TEST_F(ServerTest, SilentPeersAndSquattersGoAfterThreeSecondsAndTheTenthPeerClosesTheListener) {
    TestClient& talking = Joined();
    TestClient& silent = Joined();
    silent.Send(WriteRequestSecondAircraft());
    silent.Sync();
    // A squatter's chatter keeps it from being silent, but it never reports its aircraft.
    TestClient& squatter = Client();
    ASSERT_TRUE(squatter.Connect(session->Port()) && squatter.WaitFor(ServerMessage::AssignAircraft));
    const auto chatter = [&] {
        talking.SendStatus({});
        squatter.Send(test::net::Typed(99));
    };
    Run(59, chatter);  // 2.95 s
    EXPECT_EQ(OfType(talking.Sync(), ServerMessage::AircraftLeft).size(), 0u);
    Run(1, chatter);
    EXPECT_EQ(OfType(talking.Sync(), ServerMessage::AircraftLeft).size(), 3u);  // 2 and 3, then 4
    EXPECT_EQ(Read(ReadAircraftLeft, silent.WaitFor(ServerMessage::AircraftLeft)), 2);  // told too
    EXPECT_TRUE(silent.ClosedByServer() && squatter.ClosedByServer());
    // A closed connection drops its peer at once; identifiers are never handed out twice.
    for (std::size_t i = 1; i < MAX_PEERS; ++i) EXPECT_EQ(Client().Join(session->Port())->snapshot.entries.size(), i);
    EXPECT_FALSE(Client().Connect(session->Port()));
    clients[4]->Close();
    EXPECT_EQ(Read(ReadAircraftLeft, talking.WaitFor(ServerMessage::AircraftLeft)), 6);
    const auto welcome = Client().Join(session->Port());
    ASSERT_TRUE(welcome && welcome->snapshot.entries.size() == 9u);
    EXPECT_EQ(welcome->aircraft.identifier, 14);
}

TEST_F(ServerTest, GiantPacketsFloodsAndHalfSentPacketsCostOnlyTheirPeersPlaces) {
    unsigned short broken_port = 0;
    int sends_after_break = 0;
    Start([&](sf::TcpSocket& socket, const sf::Packet& packet) {
        if (socket.getRemotePort() != broken_port) return SendPacket(socket, packet);
        ++sends_after_break;
        return SendResult::Broken;
    });
    TestClient& host = Joined();
    TestClient& giant = Joined();
    TestClient& flood = Joined();
    TestClient& eager = Joined();
    giant.SendRaw({0x7f, 0xff, 0xff, 0xff, 1, 2, 3, 4});  // announces 2 GB: dropped before any of it is read
    EXPECT_TRUE(giant.ClosedByServer());
    // A second's worth of launches is relayed; far more drops the sender, a little more is dropped.
    for (int i = 0; i < 100; ++i) flood.Send(WriteClientOneShotAction({3, PlayerAction::LAUNCH_MISSILE}));
    EXPECT_TRUE(flood.ClosedByServer());
    for (int i = 0; i < 30; ++i) eager.Send(WriteClientOneShotAction({4, PlayerAction::LAUNCH_MISSILE}));
    eager.Send(WriteRequestSecondAircraft());
    ASSERT_TRUE(eager.WaitFor(ServerMessage::SecondAircraftAccepted));
    std::vector<Message_t> messages = host.Sync();
    EXPECT_EQ(OfType(messages, ServerMessage::OneShotAction).size(), 40u);
    EXPECT_EQ(OfType(messages, ServerMessage::AircraftLeft).size(), 2u);
    // A peer streaming statuses is served in portions, and the tick comes on time for the rest;
    // the server wakes for it but not for what it will not read before the next tick.
    for (int y = 1; y <= 1000; ++y) eager.SendStatus({{4, {1.f, static_cast<float>(y)}, 100, 2}});
    int passes = 0;
    while (session->Wait(sf::milliseconds(200)) && ++passes < 100) session->Pass();
    EXPECT_TRUE(passes > 0 && passes < 100) << passes;
    Run(1);
    EXPECT_LE(Read(ReadWorldStatus, host.WaitFor(ServerMessage::WorldStatus))->entries.at(1).position.y, 512.f);
    Run(2);  // the next tick's portion takes the rest
    EXPECT_EQ(ReadWorldStatus(OfType(host.Sync(), ServerMessage::WorldStatus).back().packet)->entries.at(1).position.y, 1000.f);
    // Half a packet sent: dropped in the same pass, and sent nothing more.
    broken_port = eager.LocalPort();
    Run(1);
    EXPECT_EQ(OfType(host.Sync(), ServerMessage::AircraftLeft).size(), 2u);
    EXPECT_EQ(sends_after_break, 1);
    EXPECT_TRUE(eager.ClosedByServer());
}

}  // namespace
