#pragma once

#include "key_binding/player_action.hpp"
#include "network/action.hpp"
#include "network/protocol.hpp"

#include <SFML/Network/Packet.hpp>
#include <SFML/System/Vector2.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Every message of the game's protocol: a writer that builds its packet and a reader that takes
// its fields back out. Readers are handed the packet just after its type has been read and
// return nothing for a packet that is truncated or holds a value no peer of ours would send, so
// a receiver applies a message whole or not at all. Aircraft and pickup types come out as
// integers checked against the ranges in protocol.hpp, and so do list lengths, coordinates,
// hitpoints and missiles against its limits.
namespace network {

// Both directions carry one-shot actions and realtime action changes with the same fields.
struct OneShotAction_t {
    std::int32_t identifier = 0;
    key_binding::PlayerAction::t action = key_binding::PlayerAction::MOVE_LEFT;

    bool operator==(const OneShotAction_t&) const = default;
};

struct RealtimeActionChange_t {
    std::int32_t identifier = 0;
    key_binding::PlayerAction::t action = key_binding::PlayerAction::MOVE_LEFT;
    bool active = false;

    bool operator==(const RealtimeActionChange_t&) const = default;
};

struct AircraftStatusEntry_t {
    std::int32_t identifier = 0;
    sf::Vector2f position;
    std::int32_t hitpoints = 0;
    std::int32_t missile_ammo = 0;

    bool operator==(const AircraftStatusEntry_t&) const = default;
};

struct AircraftStatus_t {
    std::vector<AircraftStatusEntry_t> entries;

    bool operator==(const AircraftStatus_t&) const = default;
};

// A player aircraft handed out by the server: AssignAircraft, AircraftJoined and
// SecondAircraftAccepted all carry one.
struct AircraftPlacement_t {
    std::int32_t identifier = 0;
    sf::Vector2f position;
    std::int32_t character_type = 0;

    bool operator==(const AircraftPlacement_t&) const = default;
};

struct SnapshotEntry_t {
    std::int32_t identifier = 0;
    sf::Vector2f position;
    std::int32_t hitpoints = 0;
    std::int32_t missile_ammo = 0;
    std::int32_t character_type = 0;

    bool operator==(const SnapshotEntry_t&) const = default;
};

struct WorldSnapshot_t {
    float world_height = 0.f;
    float battlefield_bottom = 0.f;
    std::vector<SnapshotEntry_t> entries;

    bool operator==(const WorldSnapshot_t&) const = default;
};

struct SpawnEnemy_t {
    std::int32_t character_type = 0;
    float vertical_distance = 0.f;
    float horizontal_offset = 0.f;
    bool mirrored = false;

    bool operator==(const SpawnEnemy_t&) const = default;
};

struct SpawnPickup_t {
    std::int32_t pickup_type = 0;
    sf::Vector2f position;

    bool operator==(const SpawnPickup_t&) const = default;
};

struct WorldStatusEntry_t {
    std::int32_t identifier = 0;
    sf::Vector2f position;

    bool operator==(const WorldStatusEntry_t&) const = default;
};

struct WorldStatus_t {
    float battlefield_bottom = 0.f;
    std::vector<WorldStatusEntry_t> entries;

    bool operator==(const WorldStatus_t&) const = default;
};

// Message types; nothing for a value outside the enumeration (such packets are ignored).
std::optional<ClientMessage::t> ReadClientMessageType(sf::Packet& packet);
std::optional<ServerMessage::t> ReadServerMessageType(sf::Packet& packet);

// Client to server.
sf::Packet WriteClientOneShotAction(const OneShotAction_t& message);
sf::Packet WriteLeave();
sf::Packet WriteClientRealtimeActionChange(const RealtimeActionChange_t& message);
sf::Packet WriteRequestSecondAircraft();
sf::Packet WriteAircraftStatus(const AircraftStatus_t& message);
sf::Packet WriteWorldEvent(const action::NetAction& event);

std::optional<AircraftStatus_t> ReadAircraftStatus(sf::Packet& packet);
std::optional<action::NetAction> ReadWorldEvent(sf::Packet& packet);

// Server to client.
sf::Packet WriteNotice(const std::string& text);
sf::Packet WriteAssignAircraft(const AircraftPlacement_t& message);
sf::Packet WriteWorldSnapshot(const WorldSnapshot_t& message);
sf::Packet WriteServerOneShotAction(const OneShotAction_t& message);
sf::Packet WriteServerRealtimeActionChange(const RealtimeActionChange_t& message);
sf::Packet WriteAircraftJoined(const AircraftPlacement_t& message);
sf::Packet WriteAircraftLeft(std::int32_t identifier);
sf::Packet WriteSecondAircraftAccepted(const AircraftPlacement_t& message);
sf::Packet WriteSpawnEnemy(const SpawnEnemy_t& message);
sf::Packet WriteSpawnPickup(const SpawnPickup_t& message);
sf::Packet WriteWorldStatus(const WorldStatus_t& message);
sf::Packet WriteMissionComplete();

std::optional<std::string> ReadNotice(sf::Packet& packet);
std::optional<AircraftPlacement_t> ReadAssignAircraft(sf::Packet& packet);
std::optional<WorldSnapshot_t> ReadWorldSnapshot(sf::Packet& packet);
std::optional<AircraftPlacement_t> ReadAircraftJoined(sf::Packet& packet);
std::optional<std::int32_t> ReadAircraftLeft(sf::Packet& packet);
std::optional<AircraftPlacement_t> ReadSecondAircraftAccepted(sf::Packet& packet);
std::optional<SpawnEnemy_t> ReadSpawnEnemy(sf::Packet& packet);
std::optional<SpawnPickup_t> ReadSpawnPickup(sf::Packet& packet);
std::optional<WorldStatus_t> ReadWorldStatus(sf::Packet& packet);

// Either direction: the fields are the same.
std::optional<OneShotAction_t> ReadOneShotAction(sf::Packet& packet);
std::optional<RealtimeActionChange_t> ReadRealtimeActionChange(sf::Packet& packet);

}  // namespace network
