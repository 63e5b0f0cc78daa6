#pragma once

#include <SFML/Network/Packet.hpp>

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace sf {
class TcpSocket;
}

namespace network {

// Takes packets off a non-blocking socket in SFML's framing (a 32-bit big-endian length, then
// that many bytes) without trusting the length. SFML's own receive buffers whatever size a peer
// announces and keeps reading while data arrives; here a packet announced above MAX_PACKET_SIZE is
// refused before any of it is buffered, and one call reads no more than the budget it is given.
// One reader per connection: it keeps a packet that arrives in pieces until it is whole.
class PacketReader {
public:
    enum class Result {
        Packet,    // a whole packet is in `packet`
        Waiting,   // nothing more now: no data, or the budget is spent
        TooLarge,  // the peer announced a packet above the limit; the stream cannot be trusted
        Closed,    // the connection is closed or failed
    };

    // Reads at most `budget` bytes, taking what it read off the budget.
    Result Receive(sf::TcpSocket& socket, sf::Packet& packet, std::size_t& budget);

private:
    // Reads into `buffer` from `filled` up to its size; false when it could not complete it now.
    bool Fill(sf::TcpSocket& socket, std::uint8_t* buffer, std::size_t size, std::size_t& filled,
              std::size_t& budget, Result& result);

    std::array<std::uint8_t, 4> header{};
    std::size_t header_filled = 0;
    std::vector<std::uint8_t> body;
    std::size_t body_filled = 0;
};

}  // namespace network
