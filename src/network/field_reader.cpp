#include "network/field_reader.hpp"

#include "network/protocol.hpp"

#include <SFML/Network/Packet.hpp>

#include <cmath>

namespace network {

FieldReader::FieldReader(sf::Packet& read_packet)
    : packet(read_packet), consumed(INT32_SIZE), valid(static_cast<bool>(read_packet) && read_packet.getDataSize() >= INT32_SIZE) {}

bool FieldReader::Check(std::size_t field_size) {
    valid = valid && static_cast<bool>(packet);
    if (valid) consumed += field_size;
    return valid;
}

std::size_t FieldReader::Remaining() const {
    const std::size_t size = packet.getDataSize();
    return consumed < size ? size - consumed : 0;
}

bool FieldReader::Read(std::int32_t& value) {
    if (valid) packet >> value;
    return Check(INT32_SIZE);
}

bool FieldReader::Read(float& value) {
    if (valid) packet >> value;
    return Check(FLOAT_SIZE) && (valid = std::isfinite(value));
}

bool FieldReader::Read(bool& value) {
    if (valid) packet >> value;
    return Check(BOOL_SIZE);
}

bool FieldReader::Read(std::string& value) {
    if (valid) packet >> value;
    return Check(INT32_SIZE + value.size());
}

bool FieldReader::ReadInRange(std::int32_t& value, std::int32_t first, std::int32_t end) {
    return Read(value) && (valid = first <= value && value < end);
}

bool FieldReader::ReadCoordinate(float& value) {
    return Read(value) && (valid = -MAX_COORDINATE <= value && value <= MAX_COORDINATE);
}

bool FieldReader::ReadCounter(std::int32_t& value, std::int32_t least) {
    return ReadInRange(value, least, MAX_COUNTER + 1);
}

bool FieldReader::ReadCount(std::int32_t& count, std::size_t entry_size, std::size_t most) {
    return Read(count) && (valid = count >= 0 && static_cast<std::size_t>(count) <= most &&
                                   static_cast<std::size_t>(count) <= Remaining() / entry_size);
}

}  // namespace network
