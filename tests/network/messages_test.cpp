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

// One message: the packet its writer builds, and whether its reader gives back what was written.
struct RoundTrip_t {
    const char* name;
    std::int32_t type;
    sf::Packet packet;
    std::function<bool(sf::Packet&)> reads_back;
};

template <typename Type, typename Value, typename Writer, typename Reader>
RoundTrip_t Case(const char* name, Type type, Value written, Writer write, Reader read) {
    return {name, static_cast<std::int32_t>(type), write(written),
            [read, written](sf::Packet& packet) { return read(packet) == std::optional<Value>(written); }};
}

TEST(MessagesTest, EveryMessageReadsBackWhatWasWritten) {
    const OneShotAction_t one_shot{7, PlayerAction::LAUNCH_MISSILE};
    const RealtimeActionChange_t change{-3, PlayerAction::MOVE_DOWN, true};
    const AircraftPlacement_t placement{2, {320.f, 2260.5f}, 1};
    // Edges of every limit are still accepted.
    WorldSnapshot_t full{2500.f, -MAX_COORDINATE, {}};
    for (std::int32_t i = 0; i < static_cast<std::int32_t>(MAX_AIRCRAFT); ++i)
        full.entries.push_back({i, {MAX_COORDINATE, -MAX_COORDINATE}, i % 2 ? MAX_COUNTER : -MAX_COUNTER, i, i % 2});
    std::vector<RoundTrip_t> cases = {
        Case("client OneShotAction", ClientMessage::OneShotAction, one_shot, WriteClientOneShotAction, ReadOneShotAction),
        Case("client RealtimeActionChange", ClientMessage::RealtimeActionChange, change, WriteClientRealtimeActionChange,
             ReadRealtimeActionChange),
        Case("AircraftStatus", ClientMessage::AircraftStatus,
             AircraftStatus_t{{{1, {1.5f, -2.f}, 100, 2}, {4, {3.f, 4.f}, -20, MAX_COUNTER}}}, WriteAircraftStatus,
             ReadAircraftStatus),
        Case("WorldEvent", ClientMessage::WorldEvent, action::NetAction{{10.f, 20.5f}, action::NetAction::EnemyExplosion},
             WriteWorldEvent, ReadWorldEvent),
        Case("Notice", ServerMessage::Notice, std::string("New player!"), WriteNotice, ReadNotice),
        Case("AssignAircraft", ServerMessage::AssignAircraft, placement, WriteAssignAircraft, ReadAssignAircraft),
        Case("WorldSnapshot", ServerMessage::WorldSnapshot, full, WriteWorldSnapshot, ReadWorldSnapshot),
        Case("server OneShotAction", ServerMessage::OneShotAction, one_shot, WriteServerOneShotAction, ReadOneShotAction),
        Case("server RealtimeActionChange", ServerMessage::RealtimeActionChange, change, WriteServerRealtimeActionChange,
             ReadRealtimeActionChange),
        Case("AircraftJoined", ServerMessage::AircraftJoined, placement, WriteAircraftJoined, ReadAircraftJoined),
        Case("AircraftLeft", ServerMessage::AircraftLeft, std::int32_t{9}, WriteAircraftLeft, ReadAircraftLeft),
        Case("SecondAircraftAccepted", ServerMessage::SecondAircraftAccepted, placement, WriteSecondAircraftAccepted,
             ReadSecondAircraftAccepted),
        Case("SpawnEnemy", ServerMessage::SpawnEnemy, SpawnEnemy_t{3, 2140.f, -80.f, true}, WriteSpawnEnemy, ReadSpawnEnemy),
        Case("SpawnPickup", ServerMessage::SpawnPickup, SpawnPickup_t{2, {100.f, 200.f}}, WriteSpawnPickup, ReadSpawnPickup),
        Case("WorldStatus", ServerMessage::WorldStatus, WorldStatus_t{1800.f, {{1, {1.f, 2.f}}, {3, {3.f, -4.f}}}},
             WriteWorldStatus, ReadWorldStatus),
    };
    for (RoundTrip_t& message : cases) {
        std::int32_t type = -1;
        message.packet >> type;
        EXPECT_EQ(type, message.type) << message.name;
        EXPECT_TRUE(message.reads_back(message.packet)) << message.name;
    }
}

TEST(MessagesTest, FieldsTravelInTheirOrderAndTypes) {
    // A peer builds its packets field by field; the readers must take exactly that.
    sf::Packet packet = Received(Typed(ServerMessage::SpawnEnemy) << std::int32_t{3} << 2140.f << -80.f << true);
    EXPECT_EQ(ReadSpawnEnemy(packet), (SpawnEnemy_t{3, 2140.f, -80.f, true}));
    packet = Received(Typed(ServerMessage::WorldSnapshot) << 2500.f << 2400.f << std::int32_t{1} << std::int32_t{4} << 1.f
                                                          << 2.f << std::int32_t{90} << std::int32_t{1} << std::int32_t{1});
    EXPECT_EQ(ReadWorldSnapshot(packet), (WorldSnapshot_t{2500.f, 2400.f, {{4, {1.f, 2.f}, 90, 1, 1}}}));
}

template <auto Reader>
bool Accepts(sf::Packet& packet) {
    return Reader(packet).has_value();
}

// Values no peer of ours sends, each just past its limit, are refused like malformed messages.
TEST(MessagesTest, ValuesBeyondTheirLimitsAreRefused) {
    const float beyond = MAX_COORDINATE * 1.01f, nan = std::numeric_limits<float>::quiet_NaN();
    const auto status_entry = [](sf::Packet packet, std::int32_t hitpoints, std::int32_t missiles) {
        return packet << std::int32_t{1} << 1.f << 2.f << hitpoints << missiles;
    };
    const auto snapshot = [](float height, std::int32_t count, std::int32_t entries) {
        sf::Packet packet = Typed(ServerMessage::WorldSnapshot) << height << 2500.f << count;
        for (std::int32_t i = 0; i < entries; ++i) packet << i << 1.f << 2.f << std::int32_t{100} << std::int32_t{2} << std::int32_t{0};
        return packet;
    };
    struct Refused_t {
        const char* name;
        bool (*read)(sf::Packet&);
        sf::Packet packet;
    };
    const Refused_t cases[] = {
        {"action", Accepts<ReadOneShotAction>, Typed(0) << std::int32_t{1} << std::int32_t{PlayerAction::COUNT}},
        {"enemy handed out", Accepts<ReadAssignAircraft>, Typed(1) << std::int32_t{1} << 1.f << 1.f << std::int32_t{2}},
        {"player spawned", Accepts<ReadSpawnEnemy>, Typed(8) << std::int32_t{1} << 1.f << 1.f << true},
        {"pickup type", Accepts<ReadSpawnPickup>, Typed(9) << PICKUP_TYPE_COUNT << 1.f << 1.f},
        {"event kind", Accepts<ReadWorldEvent>, Typed(5) << std::int32_t{1} << 1.f << 1.f},
        {"not a number", Accepts<ReadSpawnPickup>, Typed(9) << std::int32_t{0} << nan << 1.f},
        {"position", Accepts<ReadSpawnPickup>, Typed(9) << std::int32_t{0} << 1.f << beyond},
        {"enemy offset", Accepts<ReadSpawnEnemy>, Typed(8) << std::int32_t{2} << 1.f << -beyond << false},
        {"battlefield", Accepts<ReadWorldStatus>, Typed(10) << beyond << std::int32_t{0}},
        {"world height", Accepts<ReadWorldSnapshot>, snapshot(0.f, 0, 0)},
        {"more aircraft than a game holds", Accepts<ReadWorldSnapshot>, snapshot(2500.f, MAX_AIRCRAFT + 1, MAX_AIRCRAFT + 1)},
        {"count past the packet", Accepts<ReadWorldSnapshot>, snapshot(2500.f, 2, 1)},
        {"negative count", Accepts<ReadWorldStatus>, Typed(10) << 1.f << std::int32_t{-1}},
        {"three own aircraft", Accepts<ReadAircraftStatus>,
         status_entry(status_entry(status_entry(Typed(4) << std::int32_t{3}, 1, 1), 1, 1), 1, 1)},
        {"hitpoints", Accepts<ReadAircraftStatus>, status_entry(Typed(4) << std::int32_t{1}, MAX_COUNTER + 1, 0)},
        {"missiles", Accepts<ReadAircraftStatus>, status_entry(Typed(4) << std::int32_t{1}, 1, -1)},
        {"text past the packet", Accepts<ReadNotice>, Typed(0) << std::uint32_t{0xFFFFFFF0u} << std::int32_t{0}},
    };
    for (const Refused_t& refused : cases) {
        sf::Packet packet = Received(refused.packet);
        EXPECT_FALSE(refused.read(packet)) << refused.name;
    }
}

}  // namespace
