#include "fuzz/message_invariants.hpp"

#include "network/messages.hpp"
#include "support/net_packets.hpp"

namespace fuzz {

namespace {

using namespace network;
using test::net::Received;

// A reader that hands out more than it read, or reads a field wrongly typed or out of turn, fails.
template <typename Reader, typename Writer>
std::string Check(const char* name, Reader read, Writer write, const sf::Packet& input) {
    sf::Packet packet = Received(input);
    const auto value = read(packet);
    if (!value) return "";
    const sf::Packet written = write(*value);
    if (input.getDataSize() < 4 || written.getDataSize() > input.getDataSize())
        return std::string(name) + ": handed out more than the packet held";
    sf::Packet again = Received(written);
    return read(again) == value ? "" : std::string(name) + ": its value does not survive writing and reading";
}

// A type reader takes exactly the values of its enumeration.
template <typename Type>
std::string CheckType(const char* name, std::optional<Type> (*read)(sf::Packet&), std::int32_t count, sf::Packet packet) {
    std::int32_t sent = -1;
    const bool known = (sf::Packet(packet) >> sent) && 0 <= sent && sent < count;
    const std::optional<Type> type = read(packet);
    return type.has_value() == known && (!type || *type == sent) ? "" : std::string(name) + ": wrong types accepted";
}

}  // namespace

std::string CheckMessageReaders(const std::uint8_t* data, std::size_t size) {
    sf::Packet input;
    if (size > 0) input.append(data, size);
    const std::string failures[] = {
        CheckType("ReadClientMessageType", ReadClientMessageType, ClientMessage::COUNT, input),
        CheckType("ReadServerMessageType", ReadServerMessageType, ServerMessage::COUNT, input),
        Check("ReadOneShotAction", ReadOneShotAction, WriteClientOneShotAction, input),
        Check("ReadRealtimeActionChange", ReadRealtimeActionChange, WriteClientRealtimeActionChange, input),
        Check("ReadAircraftStatus", ReadAircraftStatus, WriteAircraftStatus, input),
        Check("ReadWorldEvent", ReadWorldEvent, WriteWorldEvent, input),
        Check("ReadNotice", ReadNotice, WriteNotice, input),
        Check("ReadAssignAircraft", ReadAssignAircraft, WriteAssignAircraft, input),
        Check("ReadWorldSnapshot", ReadWorldSnapshot, WriteWorldSnapshot, input),
        Check("ReadAircraftLeft", ReadAircraftLeft, WriteAircraftLeft, input),
        Check("ReadSpawnEnemy", ReadSpawnEnemy, WriteSpawnEnemy, input),
        Check("ReadSpawnPickup", ReadSpawnPickup, WriteSpawnPickup, input),
        Check("ReadWorldStatus", ReadWorldStatus, WriteWorldStatus, input),
    };
    for (const std::string& failure : failures)
        if (!failure.empty()) return failure;
    return "";
}

}  // namespace fuzz
