#include "network/messages.hpp"
#include "support/net_packets.hpp"

#include <gtest/gtest.h>

#include <limits>

namespace {

using namespace network;
using key_binding::PlayerAction;
using test::net::Received;
using test::net::Typed;

// Whether a writer and its reader agree shows in every server and client test; here, the values
// at the limits pass, and the readers take exactly the protocol's order of fields.
TEST(MessagesTest, ValuesAtTheLimitsReadBackAndFieldsTravelInTheProtocolsOrder) {
    WorldSnapshot_t full{2500.f, -MAX_COORDINATE, {}};
    for (std::int32_t i = 0; i < static_cast<std::int32_t>(MAX_AIRCRAFT); ++i)
        full.entries.push_back({i, {MAX_COORDINATE, -MAX_COORDINATE}, i % 2 ? MAX_COUNTER : -MAX_COUNTER, i, i % 2});
    sf::Packet packet = Received(WriteWorldSnapshot(full));
    EXPECT_EQ(ReadWorldSnapshot(packet), full);
    const AircraftStatus_t status{{{1, {1.5f, -2.f}, -20, 0}, {4, {3.f, 4.f}, MAX_COUNTER, MAX_COUNTER}}};
    packet = Received(WriteAircraftStatus(status));
    EXPECT_EQ(ReadAircraftStatus(packet), status);
    // A peer builds its packets field by field: the readers take exactly the protocol's order.
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
