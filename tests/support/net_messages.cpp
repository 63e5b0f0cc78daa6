#include "support/net_messages.hpp"

#include "network/messages.hpp"

namespace test::net {

namespace {
template <typename Value, typename Writer, typename Reader>
Sample_t Sample(std::int32_t type, Value written, Writer write, Reader read) {
    return {type, write(written), [read, written](sf::Packet& packet) { return read(packet) == std::optional<Value>(written); }};
}
}  // namespace

std::vector<Sample_t> EveryMessage() {
    using namespace network;
    using key_binding::PlayerAction;
    const OneShotAction_t shot{7, PlayerAction::LAUNCH_MISSILE};
    const RealtimeActionChange_t change{-3, PlayerAction::MOVE_DOWN, true};
    const AircraftPlacement_t placement{2, {320.f, 2260.5f}, 1};
    WorldSnapshot_t full{2500.f, -MAX_COORDINATE, {}};
    for (std::int32_t i = 0; i < static_cast<std::int32_t>(MAX_AIRCRAFT); ++i)
        full.entries.push_back({i, {MAX_COORDINATE, -MAX_COORDINATE}, i % 2 ? MAX_COUNTER : -MAX_COUNTER, i, i % 2});
    return {
        Sample(ClientMessage::OneShotAction, shot, WriteClientOneShotAction, ReadOneShotAction),
        Sample(ClientMessage::RealtimeActionChange, change, WriteClientRealtimeActionChange, ReadRealtimeActionChange),
        Sample(ClientMessage::AircraftStatus, AircraftStatus_t{{{1, {1.5f, -2.f}, 100, 2}, {4, {3.f, 4.f}, -20, MAX_COUNTER}}},
               WriteAircraftStatus, ReadAircraftStatus),
        Sample(ClientMessage::WorldEvent, action::NetAction{{10.f, 20.5f}}, WriteWorldEvent, ReadWorldEvent),
        Sample(ServerMessage::Notice, std::string("New player!"), WriteNotice, ReadNotice),
        Sample(ServerMessage::AssignAircraft, placement, WriteAssignAircraft, ReadAssignAircraft),
        Sample(ServerMessage::WorldSnapshot, full, WriteWorldSnapshot, ReadWorldSnapshot),
        Sample(ServerMessage::OneShotAction, shot, WriteServerOneShotAction, ReadOneShotAction),
        Sample(ServerMessage::RealtimeActionChange, change, WriteServerRealtimeActionChange, ReadRealtimeActionChange),
        Sample(ServerMessage::AircraftJoined, placement, WriteAircraftJoined, ReadAircraftJoined),
        Sample(ServerMessage::AircraftLeft, std::int32_t{9}, WriteAircraftLeft, ReadAircraftLeft),
        Sample(ServerMessage::SecondAircraftAccepted, placement, WriteSecondAircraftAccepted, ReadSecondAircraftAccepted),
        Sample(ServerMessage::SpawnEnemy, SpawnEnemy_t{3, 2140.f, -80.f, true}, WriteSpawnEnemy, ReadSpawnEnemy),
        Sample(ServerMessage::SpawnPickup, SpawnPickup_t{2, {100.f, 2200.f}}, WriteSpawnPickup, ReadSpawnPickup),
        Sample(ServerMessage::WorldStatus, WorldStatus_t{1800.f, {{1, {1.f, 2.f}}, {3, {3.f, -4.f}}}}, WriteWorldStatus,
               ReadWorldStatus),
        Sample(ServerMessage::MissionComplete, 0, [](int) { return WriteMissionComplete(); },
               [](sf::Packet& packet) { return packet.endOfPacket() ? std::optional<int>(0) : std::nullopt; }),
    };
}

}  // namespace test::net
