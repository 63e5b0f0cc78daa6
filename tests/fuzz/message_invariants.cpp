#include "fuzz/message_invariants.hpp"

#include "network/messages.hpp"

#include <cmath>
#include <optional>

namespace fuzz {

namespace {

using namespace network;

constexpr std::size_t TYPE_SIZE = 4;

// The input as a receiver hands it to a reader: one packet with its type already read.
sf::Packet Received(const std::uint8_t* data, std::size_t size) {
    sf::Packet packet;
    packet.append(data, size);
    std::int32_t type = 0;
    packet >> type;
    return packet;
}

bool Finite(sf::Vector2f position) { return std::isfinite(position.x) && std::isfinite(position.y); }

bool InRange(std::int32_t value, std::int32_t first, std::int32_t end) { return first <= value && value < end; }

bool ValidAction(key_binding::PlayerAction::t action) {
    return InRange(static_cast<std::int32_t>(action), 0, key_binding::PlayerAction::COUNT);
}

class Checker {
public:
    Checker(const std::uint8_t* data, std::size_t size) : data(data), size(size) {}

    // Runs one reader over the input; when it accepts, checks the value's own rules and that the
    // writer's packet holds no more than the input did and reads back as the same value.
    template <typename Reader, typename Writer, typename Rule>
    void CheckReader(const char* name, Reader read, Writer write, Rule rule) {
        if (!failure.empty()) return;
        sf::Packet packet = Received(data, size);
        const auto value = read(packet);
        if (!value) return;
        if (size < TYPE_SIZE) return Fail(name, "accepted a packet without a type");
        if (!rule(*value)) return Fail(name, "handed out a value out of its range");
        sf::Packet written = write(*value);
        if (written.getDataSize() > size) return Fail(name, "handed out more than the packet held");
        std::int32_t type = 0;
        written >> type;
        const auto again = read(written);
        if (!again || !(*again == *value)) return Fail(name, "its value does not survive writing and reading");
    }

    template <typename Message>
    void CheckTypeReader(const char* name, std::optional<Message> (*read)(sf::Packet&), std::int32_t count) {
        if (!failure.empty()) return;
        sf::Packet packet;
        packet.append(data, size);
        const std::optional<Message> type = read(packet);
        if (size < TYPE_SIZE) {
            if (type) Fail(name, "accepted a packet without a type");
            return;
        }
        // SFML sends integers in network byte order.
        const std::int32_t sent = static_cast<std::int32_t>(static_cast<std::uint32_t>(data[0]) << 24 |
                                                            static_cast<std::uint32_t>(data[1]) << 16 |
                                                            static_cast<std::uint32_t>(data[2]) << 8 | data[3]);
        if (type.has_value() != InRange(sent, 0, count)) return Fail(name, "refused a known type or accepted an unknown one");
        if (type && static_cast<std::int32_t>(*type) != sent) Fail(name, "read another type than was sent");
    }

    const std::string& Failure() const { return failure; }

private:
    void Fail(const char* name, const char* what) { failure = std::string(name) + ": " + what; }

    const std::uint8_t* data;
    std::size_t size;
    std::string failure;
};

// Wire sizes: an int32 or float takes 4 bytes, a status entry 20, a snapshot entry 24, a world status
// entry 12.
template <typename Entries>
bool Fits(const Entries& entries, std::size_t header, std::size_t entry_size, std::size_t size) {
    return header + entries.size() * entry_size <= size;
}

void CheckClientMessages(Checker& check, std::size_t size) {
    check.CheckTypeReader("ReadClientMessageType", ReadClientMessageType, ClientMessage::COUNT);
    check.CheckReader("ReadOneShotAction (client)", ReadOneShotAction, WriteClientOneShotAction,
                 [](const OneShotAction_t& message) { return ValidAction(message.action); });
    check.CheckReader("ReadRealtimeActionChange (client)", ReadRealtimeActionChange, WriteClientRealtimeActionChange,
                 [](const RealtimeActionChange_t& message) { return ValidAction(message.action); });
    check.CheckReader("ReadAircraftStatus", ReadAircraftStatus, WriteAircraftStatus, [size](const AircraftStatus_t& message) {
        for (const AircraftStatusEntry_t& entry : message.entries)
            if (!Finite(entry.position)) return false;
        return Fits(message.entries, 2 * TYPE_SIZE, 20, size);
    });
    check.CheckReader("ReadWorldEvent", ReadWorldEvent, WriteWorldEvent, [](const action::NetAction& event) {
        return InRange(event.type, 0, action::NetAction::TypeCount) && Finite(event.position);
    });
}

void CheckServerMessages(Checker& check, std::size_t size) {
    const auto player_aircraft = [](const AircraftPlacement_t& message) {
        return InRange(message.character_type, 0, PLAYER_CHARACTER_TYPE_COUNT) && Finite(message.position);
    };
    check.CheckTypeReader("ReadServerMessageType", ReadServerMessageType, ServerMessage::COUNT);
    check.CheckReader("ReadNotice", ReadNotice, WriteNotice,
                 [size](const std::string& text) { return 2 * TYPE_SIZE + text.size() <= size; });
    check.CheckReader("ReadAssignAircraft", ReadAssignAircraft, WriteAssignAircraft, player_aircraft);
    check.CheckReader("ReadWorldSnapshot", ReadWorldSnapshot, WriteWorldSnapshot, [size](const WorldSnapshot_t& message) {
        if (!std::isfinite(message.world_height) || !std::isfinite(message.battlefield_bottom)) return false;
        for (const SnapshotEntry_t& entry : message.entries)
            if (!Finite(entry.position) || !InRange(entry.character_type, 0, PLAYER_CHARACTER_TYPE_COUNT)) return false;
        return Fits(message.entries, 4 * TYPE_SIZE, 24, size);
    });
    check.CheckReader("ReadOneShotAction (server)", ReadOneShotAction, WriteServerOneShotAction,
                 [](const OneShotAction_t& message) { return ValidAction(message.action); });
    check.CheckReader("ReadRealtimeActionChange (server)", ReadRealtimeActionChange, WriteServerRealtimeActionChange,
                 [](const RealtimeActionChange_t& message) { return ValidAction(message.action); });
    check.CheckReader("ReadAircraftJoined", ReadAircraftJoined, WriteAircraftJoined, player_aircraft);
    check.CheckReader("ReadAircraftLeft", ReadAircraftLeft, WriteAircraftLeft, [](std::int32_t) { return true; });
    check.CheckReader("ReadSecondAircraftAccepted", ReadSecondAircraftAccepted, WriteSecondAircraftAccepted, player_aircraft);
    check.CheckReader("ReadSpawnEnemy", ReadSpawnEnemy, WriteSpawnEnemy, [](const SpawnEnemy_t& message) {
        return InRange(message.character_type, PLAYER_CHARACTER_TYPE_COUNT, CHARACTER_TYPE_COUNT) &&
               std::isfinite(message.vertical_distance) && std::isfinite(message.horizontal_offset);
    });
    check.CheckReader("ReadSpawnPickup", ReadSpawnPickup, WriteSpawnPickup, [](const SpawnPickup_t& message) {
        return InRange(message.pickup_type, 0, PICKUP_TYPE_COUNT) && Finite(message.position);
    });
    check.CheckReader("ReadWorldStatus", ReadWorldStatus, WriteWorldStatus, [size](const WorldStatus_t& message) {
        if (!std::isfinite(message.battlefield_bottom)) return false;
        for (const WorldStatusEntry_t& entry : message.entries)
            if (!Finite(entry.position)) return false;
        return Fits(message.entries, 3 * TYPE_SIZE, 12, size);
    });
}

}  // namespace

std::string CheckMessageReaders(const std::uint8_t* data, std::size_t size) {
    Checker check(data, size);
    CheckClientMessages(check, size);
    CheckServerMessages(check, size);
    return check.Failure();
}

}  // namespace fuzz
