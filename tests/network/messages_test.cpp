#include "network/messages.hpp"
#include "support/net_packets.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

namespace {

using namespace network;
using key_binding::PlayerAction;
using test::net::Received;
using test::net::Typed;

// A message's type as its writer puts it, and whether its reader gives back what was written.
struct RoundTrip_t {
    std::int32_t type;
    sf::Packet packet;
    std::function<bool(sf::Packet&)> reads_back;
};

template <typename Value, typename Writer, typename Reader>
RoundTrip_t Case(std::int32_t type, Value written, Writer write, Reader read) {
    return {type, write(written), [read, written](sf::Packet& packet) { return read(packet) == std::optional<Value>(written); }};
}

TEST(MessagesTest, EveryMessageReadsBackWhatWasWrittenUpToItsLimits) {
    const OneShotAction_t shot{7, PlayerAction::LAUNCH_MISSILE};
    const RealtimeActionChange_t change{-3, PlayerAction::MOVE_DOWN, true};
    const AircraftPlacement_t placement{2, {320.f, 2260.5f}, 1};
    WorldSnapshot_t full{2500.f, -MAX_COORDINATE, {}};
    for (std::int32_t i = 0; i < static_cast<std::int32_t>(MAX_AIRCRAFT); ++i)
        full.entries.push_back({i, {MAX_COORDINATE, -MAX_COORDINATE}, i % 2 ? MAX_COUNTER : -MAX_COUNTER, i, i % 2});
    std::vector<RoundTrip_t> cases = {
        Case(ClientMessage::OneShotAction, shot, WriteClientOneShotAction, ReadOneShotAction),
        Case(ClientMessage::RealtimeActionChange, change, WriteClientRealtimeActionChange, ReadRealtimeActionChange),
        Case(ClientMessage::AircraftStatus, AircraftStatus_t{{{1, {1.5f, -2.f}, 100, 2}, {4, {3.f, 4.f}, -20, MAX_COUNTER}}},
             WriteAircraftStatus, ReadAircraftStatus),
        Case(ClientMessage::WorldEvent, action::NetAction{{10.f, 20.5f}}, WriteWorldEvent, ReadWorldEvent),
        Case(ServerMessage::Notice, std::string("New player!"), WriteNotice, ReadNotice),
        Case(ServerMessage::AssignAircraft, placement, WriteAssignAircraft, ReadAssignAircraft),
        Case(ServerMessage::WorldSnapshot, full, WriteWorldSnapshot, ReadWorldSnapshot),
        Case(ServerMessage::OneShotAction, shot, WriteServerOneShotAction, ReadOneShotAction),
        Case(ServerMessage::RealtimeActionChange, change, WriteServerRealtimeActionChange, ReadRealtimeActionChange),
        Case(ServerMessage::AircraftJoined, placement, WriteAircraftJoined, ReadAircraftJoined),
        Case(ServerMessage::AircraftLeft, std::int32_t{9}, WriteAircraftLeft, ReadAircraftLeft),
        Case(ServerMessage::SecondAircraftAccepted, placement, WriteSecondAircraftAccepted, ReadSecondAircraftAccepted),
        Case(ServerMessage::SpawnEnemy, SpawnEnemy_t{3, 2140.f, -80.f, true}, WriteSpawnEnemy, ReadSpawnEnemy),
        Case(ServerMessage::SpawnPickup, SpawnPickup_t{2, {100.f, 200.f}}, WriteSpawnPickup, ReadSpawnPickup),
        Case(ServerMessage::WorldStatus, WorldStatus_t{1800.f, {{1, {1.f, 2.f}}, {3, {3.f, -4.f}}}}, WriteWorldStatus,
             ReadWorldStatus),
    };
    for (RoundTrip_t& message : cases) {
        std::int32_t type = -1;
        message.packet >> type;
        EXPECT_EQ(type, message.type);
        EXPECT_TRUE(message.reads_back(message.packet)) << "type " << message.type;
    }
    // A peer builds its packets field by field: the readers take exactly the protocol's order.
    sf::Packet packet = Received(Typed(ServerMessage::WorldSnapshot) << 2500.f << 2400.f << std::int32_t{1} << std::int32_t{4}
                                                                     << 1.f << 2.f << std::int32_t{90} << std::int32_t{1}
                                                                     << std::int32_t{1});
    EXPECT_EQ(ReadWorldSnapshot(packet), (WorldSnapshot_t{2500.f, 2400.f, {{4, {1.f, 2.f}, 90, 1, 1}}}));
}

template <auto Reader>
bool Accepts(sf::Packet& packet) {
    return Reader(packet).has_value();
}

// Values no peer of ours sends, each just past its limit, are refused like malformed messages.
TEST(MessagesTest, ValuesBeyondTheirLimitsAreRefused) {
    const float beyond = MAX_COORDINATE * 1.01f, nan = std::numeric_limits<float>::quiet_NaN();
    const auto status = [](std::int32_t count, std::int32_t hitpoints, std::int32_t missiles) {
        sf::Packet packet = Typed(ClientMessage::AircraftStatus) << count;
        for (std::int32_t i = 0; i < count; ++i) packet << i << 1.f << 2.f << hitpoints << missiles;
        return packet;
    };
    const auto snapshot = [](float height, std::int32_t count, std::int32_t entries) {
        sf::Packet packet = Typed(ServerMessage::WorldSnapshot) << height << 2500.f << count;
        for (std::int32_t i = 0; i < entries; ++i) packet << i << 1.f << 2.f << std::int32_t{100} << std::int32_t{2} << std::int32_t{0};
        return packet;
    };
    const std::pair<bool (*)(sf::Packet&), sf::Packet> cases[] = {
        {Accepts<ReadOneShotAction>, Typed(0) << std::int32_t{1} << std::int32_t{PlayerAction::COUNT}},
        {Accepts<ReadAssignAircraft>, Typed(1) << std::int32_t{1} << 1.f << 1.f << std::int32_t{2}},  // an enemy
        {Accepts<ReadSpawnEnemy>, Typed(8) << std::int32_t{1} << 1.f << 1.f << true},                 // a player
        {Accepts<ReadSpawnPickup>, Typed(9) << PICKUP_TYPE_COUNT << 1.f << 1.f},
        {Accepts<ReadWorldEvent>, Typed(5) << std::int32_t{1} << 1.f << 1.f},
        {Accepts<ReadSpawnPickup>, Typed(9) << std::int32_t{0} << nan << 1.f},
        {Accepts<ReadSpawnPickup>, Typed(9) << std::int32_t{0} << 1.f << beyond},
        {Accepts<ReadSpawnEnemy>, Typed(8) << std::int32_t{2} << 1.f << -beyond << false},
        {Accepts<ReadWorldStatus>, Typed(10) << beyond << std::int32_t{0}},
        {Accepts<ReadWorldStatus>, Typed(10) << 1.f << std::int32_t{-1}},
        {Accepts<ReadWorldSnapshot>, snapshot(0.f, 0, 0)},
        {Accepts<ReadWorldSnapshot>, snapshot(2500.f, MAX_AIRCRAFT + 1, MAX_AIRCRAFT + 1)},
        {Accepts<ReadWorldSnapshot>, snapshot(2500.f, 2, 1)},  // more than the packet holds
        {Accepts<ReadAircraftStatus>, status(MAX_AIRCRAFT_PER_PEER + 1, 1, 1)},
        {Accepts<ReadAircraftStatus>, status(1, MAX_COUNTER + 1, 0)},
        {Accepts<ReadAircraftStatus>, status(1, 1, -1)},
        {Accepts<ReadNotice>, Typed(0) << std::uint32_t{0xFFFFFFF0u} << std::int32_t{0}},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        sf::Packet packet = Received(cases[i].second);
        EXPECT_FALSE(cases[i].first(packet)) << "case " << i;
    }
}

}  // namespace
