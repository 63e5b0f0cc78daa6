#include "network/server.hpp"
#include "server_test_client.hpp"

#include <gtest/gtest.h>

#include <SFML/System/Sleep.hpp>

#include <atomic>
#include <limits>
#include <random>

namespace {

using namespace server_test;
using network::ServerMessage;
using network::server::Server;
using key_binding::PlayerAction;

std::vector<std::int32_t> Identifiers(const network::WorldStatus_t& status) {
    std::vector<std::int32_t> identifiers;
    for (const network::WorldStatusEntry_t& entry : status.entries) identifiers.push_back(entry.identifier);
    return identifiers;
}

// The first WorldStatus of a tick that begins after everything sent so far has been handled.
std::optional<network::WorldStatus_t> LatestStatus(TestClient& client) {
    sf::sleep(sf::milliseconds(120));
    client.Drain();
    auto message = client.WaitFor(ServerMessage::WorldStatus);
    if (!message) return std::nullopt;
    return network::ReadWorldStatus(message->packet);
}

sf::Packet Bytes(const std::vector<std::uint8_t>& bytes) {
    sf::Packet packet;
    packet.append(bytes.data(), bytes.size());
    return packet;
}

TEST(ServerFaultTest, SnapshotsLeaveOutDestroyedAndExplodingAircraft) {
    Server server(BATTLEFIELD_SIZE);
    TestClient first, second;
    ASSERT_TRUE(first.Join());
    first.Send(network::WriteRequestSecondAircraft());
    const auto wingman = first.Expect(ServerMessage::SecondAircraftAccepted, network::ReadSecondAircraftAccepted);
    ASSERT_TRUE(wingman);

    // Aircraft 1 is destroyed: its record goes at the next tick, though its owner stays.
    first.SendStatus({{1, {100.f, 900.f}, 0, 0}, {2, {200.f, 900.f}, 60, 1}});
    const auto status = LatestStatus(first);
    ASSERT_TRUE(status);
    EXPECT_EQ(Identifiers(*status), std::vector<std::int32_t>({2}));

    // While it explodes its owner still reports it, without hitpoints.
    first.SendStatus({{1, {100.f, 900.f}, -4, 0}, {2, {200.f, 900.f}, 60, 1}});
    const auto welcome = second.Join();
    ASSERT_TRUE(welcome);
    const std::vector<network::SnapshotEntry_t> expected = {{2, {200.f, 900.f}, 60, 1, wingman->character_type}};
    EXPECT_EQ(welcome->snapshot.entries, expected);
}

TEST(ServerFaultTest, NoMissionCompleteWithoutAnAircraftFlyingPastTheTop) {
    Server server(BATTLEFIELD_SIZE);
    TestClient first, second;
    ASSERT_TRUE(first.Join());

    // The only aircraft is destroyed; a late key release and a message naming an unknown aircraft
    // must not bring back a record at y = 0.
    first.SendStatus({{1, {100.f, 300.f}, 0, 0}});
    sf::sleep(sf::milliseconds(120));
    first.Send(network::WriteClientRealtimeActionChange({1, PlayerAction::FIRE, false}));
    first.Send(network::WriteClientRealtimeActionChange({42, PlayerAction::FIRE, false}));
    std::vector<Message_t> messages = first.Collect(sf::milliseconds(400));
    EXPECT_FALSE(Find(messages, ServerMessage::MissionComplete));
    const auto status = LatestStatus(first);
    ASSERT_TRUE(status);
    EXPECT_TRUE(status->entries.empty());

    // One aircraft past the top while another explodes below: success, every tick.
    ASSERT_TRUE(second.Join());
    first.SendStatus({{1, {100.f, 300.f}, -1, 0}});
    second.SendStatus({{2, {100.f, -10.f}, 40, 0}});
    messages = second.Collect(sf::milliseconds(300));
    std::size_t announcements = 0;
    for (const Message_t& message : messages) announcements += message.type == ServerMessage::MissionComplete;
    EXPECT_GE(announcements, 3u);
}

TEST(ServerFaultTest, StatusAndActionsForAnotherClientsAircraftAreIgnored) {
    Server server(BATTLEFIELD_SIZE);
    TestClient first, second;
    ASSERT_TRUE(first.Join());
    ASSERT_TRUE(second.Join());
    first.NextEvent();
    first.NextEvent();

    first.SendStatus({{1, {100.f, 1000.f}, 100, 2}});
    second.SendStatus({{1, {5.f, -500.f}, 100, 2}, {77, {0.f, -1.f}, 100, 2}, {2, {300.f, 400.f}, 90, 1}});
    const auto status = LatestStatus(first);
    ASSERT_TRUE(status);
    const std::vector<network::WorldStatusEntry_t> expected = {{1, {100.f, 1000.f}}, {2, {300.f, 400.f}}};
    EXPECT_EQ(status->entries, expected);

    second.Send(network::WriteClientOneShotAction({1, PlayerAction::LAUNCH_MISSILE}));
    second.Send(network::WriteClientRealtimeActionChange({1, PlayerAction::MOVE_LEFT, true}));
    second.Send(network::WriteClientRealtimeActionChange({77, PlayerAction::MOVE_LEFT, true}));
    second.Send(network::WriteClientOneShotAction({2, PlayerAction::LAUNCH_MISSILE}));
    for (TestClient* client : {&first, &second})
        EXPECT_EQ(client->Expect(ServerMessage::OneShotAction, network::ReadOneShotAction),
                  network::OneShotAction_t({2, PlayerAction::LAUNCH_MISSILE}));
}

TEST(ServerFaultTest, MalformedPacketsAreIgnoredWholeAndTheServerKeepsServing) {
    Server server(BATTLEFIELD_SIZE);
    TestClient first, second, garbled;
    ASSERT_TRUE(first.Join());
    ASSERT_TRUE(second.Join());
    ASSERT_TRUE(garbled.Join());
    first.SendStatus({{1, {100.f, 1000.f}, 100, 2}});

    // Out of range, truncated, not finite, and then plain noise.
    using network::ClientMessage;
    std::vector<sf::Packet> packets = {sf::Packet(), sf::Packet() << std::int32_t(-1), sf::Packet() << std::int32_t(6),
                                       sf::Packet() << std::int32_t(ClientMessage::OneShotAction) << std::int32_t(1)};
    packets.push_back(sf::Packet() << std::int32_t(ClientMessage::OneShotAction) << std::int32_t(1) << std::int32_t(42));
    packets.push_back(sf::Packet() << std::int32_t(ClientMessage::AircraftStatus) << std::int32_t(1000000) << std::int32_t(1)
                                   << -5.f << -5.f << std::int32_t(1) << std::int32_t(1));
    packets.push_back(sf::Packet() << std::int32_t(ClientMessage::AircraftStatus) << std::int32_t(1) << std::int32_t(1)
                                   << std::numeric_limits<float>::quiet_NaN() << -5.f << std::int32_t(1) << std::int32_t(1));
    packets.push_back(sf::Packet() << std::int32_t(ClientMessage::WorldEvent) << std::int32_t(0) << 1.f);
    std::mt19937 generator(7);
    for (int i = 0; i < 3000; ++i) {
        std::vector<std::uint8_t> bytes(generator() % 40);
        for (std::uint8_t& byte : bytes) byte = static_cast<std::uint8_t>(generator());
        packets.push_back(Bytes(bytes));
    }
    for (const sf::Packet& packet : packets) first.Send(packet);

    // A frame that announces more than will ever come: this peer's stream is stuck, nobody else's.
    const std::uint8_t endless[] = {0x7f, 0xff, 0xff, 0xff, 0, 0, 0, 4};
    ASSERT_EQ(garbled.SendRaw(endless, sizeof endless), sf::Socket::Done);

    first.Send(network::WriteClientOneShotAction({1, PlayerAction::LAUNCH_MISSILE}));
    for (TestClient* client : {&first, &second}) {
        // Skips the join messages of the second and third client.
        auto action = client->WaitFor(ServerMessage::OneShotAction, sf::seconds(2.f));
        ASSERT_TRUE(action);
        EXPECT_EQ(network::ReadOneShotAction(action->packet), network::OneShotAction_t({1, PlayerAction::LAUNCH_MISSILE}));
        // Nothing that the garbage could have caused.
        std::vector<Message_t> messages = client->Collect(sf::milliseconds(200));
        EXPECT_FALSE(Find(messages, ServerMessage::SpawnPickup));
        EXPECT_FALSE(Find(messages, ServerMessage::OneShotAction));
        EXPECT_FALSE(Find(messages, ServerMessage::RealtimeActionChange));
    }
    const auto status = LatestStatus(second);
    ASSERT_TRUE(status);
    ASSERT_EQ(Identifiers(*status), std::vector<std::int32_t>({1, 2, 3}));
    EXPECT_EQ(status->entries[0].position, sf::Vector2f(100.f, 1000.f));
}

TEST(ServerFaultTest, APeerLeftWithHalfAPacketIsDroppedAndSentNothingMore) {
    // Which client's socket breaks (by its port), and how often it is sent to after that.
    std::atomic<unsigned short> broken_port = 0;
    std::atomic<int> sends_after_break = 0;
    network::server::Settings_t settings;
    settings.send = [&](sf::TcpSocket& socket, const sf::Packet& packet) {
        if (socket.getRemotePort() != broken_port.load()) return network::SendPacket(socket, packet);
        ++sends_after_break;
        return network::SendResult::Broken;
    };
    Server server(BATTLEFIELD_SIZE, settings);
    TestClient first, victim;
    ASSERT_TRUE(first.Join());
    ASSERT_TRUE(victim.Join());
    victim.Send(network::WriteRequestSecondAircraft());
    ASSERT_TRUE(victim.NextEvent());
    first.NextEvent();
    first.NextEvent();
    first.NextEvent();

    // The next WorldStatus breaks the victim's connection.
    broken_port = victim.LocalPort();
    sf::Clock clock;
    for (std::int32_t identifier : {2, 3})
        EXPECT_EQ(first.Expect(ServerMessage::AircraftLeft, network::ReadAircraftLeft), identifier);
    EXPECT_EQ(first.Expect(ServerMessage::Notice, network::ReadNotice), "An ally has disconnected.");
    EXPECT_LT(clock.getElapsedTime(), sf::milliseconds(250));
    EXPECT_EQ(sends_after_break.load(), 1);
    EXPECT_TRUE(victim.ClosedByServer());
}

}  // namespace
