#pragma once

#include "network/protocol.hpp"

#include <SFML/Network/Packet.hpp>
#include <SFML/Network/TcpSocket.hpp>

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

namespace test::net {

using Bytes = std::vector<std::uint8_t>;

struct Message_t {
    std::int32_t type = 0;
    sf::Packet packet;  // just after the type, ready for its reader
};

// The messages of one type, in order.
std::vector<Message_t> OfType(std::vector<Message_t> messages, std::int32_t type);
Bytes ToBytes(const sf::Packet& packet);
sf::Packet ToPacket(const Bytes& bytes);
// The packet as it travels: its size, big-endian, then its bytes.
Bytes Framed(const sf::Packet& packet);
// A packet starting with a message type, to build messages field by field.
sf::Packet Typed(std::int32_t type);
// The packet with its type read, as a receiver hands it to a reader.
sf::Packet Received(sf::Packet packet);

// Two connected non-blocking stream sockets of this process: what one end sends, the other can
// read at once, with no port or listener in between.
struct SocketPair_t {
    std::unique_ptr<sf::TcpSocket> near;
    std::unique_ptr<sf::TcpSocket> far;
};
SocketPair_t MakeSocketPair(int send_buffer = 0);

// A time source stepped by hand; a server thread may read it meanwhile.
class SteppedClock {
public:
    void Advance(sf::Time step) { micros += step.asMicroseconds(); }
    network::TimeSource Source() {
        return [this] { return sf::microseconds(micros.load()); };
    }

private:
    std::atomic<sf::Int64> micros{0};
};

}  // namespace test::net
