#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace sf {
class Packet;
}

namespace network {

// Reads the fields of one received message and refuses anything a well-formed message cannot
// hold: a field past the end of the packet, a non-finite number, a value out of its range, a
// count of more entries than the rest of the packet has room for. Once a read fails, every
// further read fails too, so a reader checks the outcome once, before it hands anything out.
class FieldReader {
public:
    // Wire sizes of the fields, as SFML encodes them.
    static constexpr std::size_t INT32_SIZE = 4;
    static constexpr std::size_t FLOAT_SIZE = 4;
    static constexpr std::size_t BOOL_SIZE = 1;

    // The packet must stand just after the message type, which every message starts with.
    explicit FieldReader(sf::Packet& packet);

    bool Read(std::int32_t& value);
    bool Read(float& value);
    bool Read(bool& value);
    bool Read(std::string& value);
    // An integer in [first, end).
    bool ReadInRange(std::int32_t& value, std::int32_t first, std::int32_t end);
    // A position, offset or edge inside the range any world of the game spans.
    bool ReadCoordinate(float& value);
    // Hitpoints or missiles: up to MAX_COUNTER, and at least `least`.
    bool ReadCounter(std::int32_t& value, std::int32_t least);
    // A list length: not negative, at most `most`, and entries of entry_size bytes must fit into
    // the rest.
    bool ReadCount(std::int32_t& count, std::size_t entry_size, std::size_t most);

    // Refuses the message unless `condition` holds, for rules across fields or beyond a range.
    bool Require(bool condition) { return valid = valid && condition; }

    bool IsValid() const { return valid; }

private:
    bool Check(std::size_t field_size);
    std::size_t Remaining() const;

    sf::Packet& packet;
    std::size_t consumed;
    bool valid;
};

}  // namespace network
