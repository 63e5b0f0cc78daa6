#include "network/messages.hpp"

#include "network/field_reader.hpp"

namespace network {

namespace {

constexpr std::size_t AIRCRAFT_STATUS_ENTRY_SIZE = 3 * FieldReader::INT32_SIZE + 2 * FieldReader::FLOAT_SIZE;
constexpr std::size_t SNAPSHOT_ENTRY_SIZE = 4 * FieldReader::INT32_SIZE + 2 * FieldReader::FLOAT_SIZE;
constexpr std::size_t WORLD_STATUS_ENTRY_SIZE = FieldReader::INT32_SIZE + 2 * FieldReader::FLOAT_SIZE;

template <typename Message>
sf::Packet Start(Message type) {
    sf::Packet packet;
    packet << static_cast<std::int32_t>(type);
    return packet;
}

// Wire values are checked before they are cast, so the enumerations never hold strangers.
template <typename Enum>
std::optional<Enum> ReadType(sf::Packet& packet, std::int32_t count) {
    std::int32_t value = 0;
    if (!(packet >> value) || value < 0 || value >= count) return std::nullopt;
    return static_cast<Enum>(value);
}

bool ReadAction(FieldReader& reader, key_binding::PlayerAction::t& action) {
    std::int32_t value = 0;
    if (!reader.ReadInRange(value, 0, key_binding::PlayerAction::COUNT)) return false;
    action = static_cast<key_binding::PlayerAction::t>(value);
    return true;
}

bool ReadPosition(FieldReader& reader, sf::Vector2f& position) {
    return reader.ReadCoordinate(position.x) && reader.ReadCoordinate(position.y);
}

template <typename Message>
sf::Packet WriteOneShotAction(Message type, const OneShotAction_t& message) {
    sf::Packet packet = Start(type);
    packet << message.identifier << static_cast<std::int32_t>(message.action);
    return packet;
}

template <typename Message>
sf::Packet WriteRealtimeActionChange(Message type, const RealtimeActionChange_t& message) {
    sf::Packet packet = Start(type);
    packet << message.identifier << static_cast<std::int32_t>(message.action) << message.active;
    return packet;
}

sf::Packet WriteAircraftPlacement(ServerMessage::t type, const AircraftPlacement_t& message) {
    sf::Packet packet = Start(type);
    packet << message.identifier << message.position.x << message.position.y << message.character_type;
    return packet;
}

// Only player aircraft are handed out.
std::optional<AircraftPlacement_t> ReadAircraftPlacement(sf::Packet& packet) {
    FieldReader reader(packet);
    AircraftPlacement_t message;
    if (!(reader.Read(message.identifier) && ReadPosition(reader, message.position) &&
          reader.ReadInRange(message.character_type, 0, PLAYER_CHARACTER_TYPE_COUNT)))
        return std::nullopt;
    return message;
}

}  // namespace

std::optional<ClientMessage::t> ReadClientMessageType(sf::Packet& packet) {
    return ReadType<ClientMessage::t>(packet, ClientMessage::COUNT);
}

std::optional<ServerMessage::t> ReadServerMessageType(sf::Packet& packet) {
    return ReadType<ServerMessage::t>(packet, ServerMessage::COUNT);
}

// ---- Client to server ----

sf::Packet WriteClientOneShotAction(const OneShotAction_t& message) {
    return WriteOneShotAction(ClientMessage::OneShotAction, message);
}

sf::Packet WriteLeave() { return Start(ClientMessage::Leave); }

sf::Packet WriteClientRealtimeActionChange(const RealtimeActionChange_t& message) {
    return WriteRealtimeActionChange(ClientMessage::RealtimeActionChange, message);
}

sf::Packet WriteRequestSecondAircraft() { return Start(ClientMessage::RequestSecondAircraft); }

sf::Packet WriteAircraftStatus(const AircraftStatus_t& message) {
    sf::Packet packet = Start(ClientMessage::AircraftStatus);
    packet << static_cast<std::int32_t>(message.entries.size());
    for (const AircraftStatusEntry_t& entry : message.entries)
        packet << entry.identifier << entry.position.x << entry.position.y << entry.hitpoints << entry.missile_ammo;
    return packet;
}

sf::Packet WriteWorldEvent(const action::NetAction& event) {
    sf::Packet packet = Start(ClientMessage::WorldEvent);
    packet << static_cast<std::int32_t>(event.type) << event.position.x << event.position.y;
    return packet;
}

std::optional<AircraftStatus_t> ReadAircraftStatus(sf::Packet& packet) {
    FieldReader reader(packet);
    std::int32_t count = 0;
    if (!reader.ReadCount(count, AIRCRAFT_STATUS_ENTRY_SIZE, MAX_AIRCRAFT_PER_PEER)) return std::nullopt;
    AircraftStatus_t message;
    message.entries.resize(static_cast<std::size_t>(count));
    for (AircraftStatusEntry_t& entry : message.entries)
        if (!(reader.Read(entry.identifier) && ReadPosition(reader, entry.position) &&
              reader.ReadCounter(entry.hitpoints, -MAX_COUNTER) && reader.ReadCounter(entry.missile_ammo, 0)))
            return std::nullopt;
    return message;
}

std::optional<action::NetAction> ReadWorldEvent(sf::Packet& packet) {
    FieldReader reader(packet);
    std::int32_t kind = 0;
    action::NetAction event;
    if (!(reader.ReadInRange(kind, 0, action::NetAction::TypeCount) && ReadPosition(reader, event.position)))
        return std::nullopt;
    event.type = static_cast<action::NetAction::Type>(kind);
    return event;
}

// ---- Server to client ----

sf::Packet WriteNotice(const std::string& text) {
    sf::Packet packet = Start(ServerMessage::Notice);
    packet << text;
    return packet;
}

sf::Packet WriteAssignAircraft(const AircraftPlacement_t& message) {
    return WriteAircraftPlacement(ServerMessage::AssignAircraft, message);
}

sf::Packet WriteWorldSnapshot(const WorldSnapshot_t& message) {
    sf::Packet packet = Start(ServerMessage::WorldSnapshot);
    packet << message.world_height << message.battlefield_bottom << static_cast<std::int32_t>(message.entries.size());
    for (const SnapshotEntry_t& entry : message.entries)
        packet << entry.identifier << entry.position.x << entry.position.y << entry.hitpoints << entry.missile_ammo
               << entry.character_type;
    return packet;
}

sf::Packet WriteServerOneShotAction(const OneShotAction_t& message) {
    return WriteOneShotAction(ServerMessage::OneShotAction, message);
}

sf::Packet WriteServerRealtimeActionChange(const RealtimeActionChange_t& message) {
    return WriteRealtimeActionChange(ServerMessage::RealtimeActionChange, message);
}

sf::Packet WriteAircraftJoined(const AircraftPlacement_t& message) {
    return WriteAircraftPlacement(ServerMessage::AircraftJoined, message);
}

sf::Packet WriteAircraftLeft(std::int32_t identifier) {
    sf::Packet packet = Start(ServerMessage::AircraftLeft);
    packet << identifier;
    return packet;
}

sf::Packet WriteSecondAircraftAccepted(const AircraftPlacement_t& message) {
    return WriteAircraftPlacement(ServerMessage::SecondAircraftAccepted, message);
}

sf::Packet WriteSpawnEnemy(const SpawnEnemy_t& message) {
    sf::Packet packet = Start(ServerMessage::SpawnEnemy);
    packet << message.character_type << message.vertical_distance << message.horizontal_offset << message.mirrored;
    return packet;
}

sf::Packet WriteSpawnPickup(const SpawnPickup_t& message) {
    sf::Packet packet = Start(ServerMessage::SpawnPickup);
    packet << message.pickup_type << message.position.x << message.position.y;
    return packet;
}

sf::Packet WriteWorldStatus(const WorldStatus_t& message) {
    sf::Packet packet = Start(ServerMessage::WorldStatus);
    packet << message.battlefield_bottom << static_cast<std::int32_t>(message.entries.size());
    for (const WorldStatusEntry_t& entry : message.entries)
        packet << entry.identifier << entry.position.x << entry.position.y;
    return packet;
}

sf::Packet WriteMissionComplete() { return Start(ServerMessage::MissionComplete); }

std::optional<std::string> ReadNotice(sf::Packet& packet) {
    FieldReader reader(packet);
    std::string text;
    if (!reader.Read(text)) return std::nullopt;
    return text;
}

std::optional<AircraftPlacement_t> ReadAssignAircraft(sf::Packet& packet) { return ReadAircraftPlacement(packet); }

std::optional<WorldSnapshot_t> ReadWorldSnapshot(sf::Packet& packet) {
    FieldReader reader(packet);
    WorldSnapshot_t message;
    std::int32_t count = 0;
    if (!(reader.ReadCoordinate(message.world_height) && reader.Require(message.world_height >= 1.f) &&
          reader.ReadCoordinate(message.battlefield_bottom) && reader.ReadCount(count, SNAPSHOT_ENTRY_SIZE, MAX_AIRCRAFT)))
        return std::nullopt;
    message.entries.resize(static_cast<std::size_t>(count));
    // Records of aircraft destroyed meanwhile come as all zero, a player type too.
    for (SnapshotEntry_t& entry : message.entries)
        if (!(reader.Read(entry.identifier) && ReadPosition(reader, entry.position) &&
              reader.ReadCounter(entry.hitpoints, -MAX_COUNTER) && reader.ReadCounter(entry.missile_ammo, 0) &&
              reader.ReadInRange(entry.character_type, 0, PLAYER_CHARACTER_TYPE_COUNT)))
            return std::nullopt;
    return message;
}

std::optional<AircraftPlacement_t> ReadAircraftJoined(sf::Packet& packet) { return ReadAircraftPlacement(packet); }

std::optional<std::int32_t> ReadAircraftLeft(sf::Packet& packet) {
    FieldReader reader(packet);
    std::int32_t identifier = 0;
    if (!reader.Read(identifier)) return std::nullopt;
    return identifier;
}

std::optional<AircraftPlacement_t> ReadSecondAircraftAccepted(sf::Packet& packet) {
    return ReadAircraftPlacement(packet);
}

// The server spawns enemies only; a player type here would put a second player aircraft into a
// world that does not know it.
std::optional<SpawnEnemy_t> ReadSpawnEnemy(sf::Packet& packet) {
    FieldReader reader(packet);
    SpawnEnemy_t message;
    if (!(reader.ReadInRange(message.character_type, PLAYER_CHARACTER_TYPE_COUNT, CHARACTER_TYPE_COUNT) &&
          reader.ReadCoordinate(message.vertical_distance) && reader.ReadCoordinate(message.horizontal_offset) &&
          reader.Read(message.mirrored)))
        return std::nullopt;
    return message;
}

std::optional<SpawnPickup_t> ReadSpawnPickup(sf::Packet& packet) {
    FieldReader reader(packet);
    SpawnPickup_t message;
    if (!(reader.ReadInRange(message.pickup_type, 0, PICKUP_TYPE_COUNT) && ReadPosition(reader, message.position)))
        return std::nullopt;
    return message;
}

std::optional<WorldStatus_t> ReadWorldStatus(sf::Packet& packet) {
    FieldReader reader(packet);
    WorldStatus_t message;
    std::int32_t count = 0;
    if (!(reader.ReadCoordinate(message.battlefield_bottom) && reader.ReadCount(count, WORLD_STATUS_ENTRY_SIZE, MAX_AIRCRAFT)))
        return std::nullopt;
    message.entries.resize(static_cast<std::size_t>(count));
    for (WorldStatusEntry_t& entry : message.entries)
        if (!(reader.Read(entry.identifier) && ReadPosition(reader, entry.position))) return std::nullopt;
    return message;
}

// ---- Either direction ----

std::optional<OneShotAction_t> ReadOneShotAction(sf::Packet& packet) {
    FieldReader reader(packet);
    OneShotAction_t message;
    if (!(reader.Read(message.identifier) && ReadAction(reader, message.action))) return std::nullopt;
    return message;
}

std::optional<RealtimeActionChange_t> ReadRealtimeActionChange(sf::Packet& packet) {
    FieldReader reader(packet);
    RealtimeActionChange_t message;
    if (!(reader.Read(message.identifier) && ReadAction(reader, message.action) && reader.Read(message.active)))
        return std::nullopt;
    return message;
}

}  // namespace network
