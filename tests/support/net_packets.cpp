#include "support/net_packets.hpp"

#include <sys/socket.h>

#include <algorithm>
#include <stdexcept>

namespace test::net {

namespace {
// SFML opens sockets only by connecting or accepting; a derived class may adopt one.
class AdoptedSocket : public sf::TcpSocket {
public:
    explicit AdoptedSocket(int descriptor) {
        create(descriptor);
        setBlocking(false);
    }
};
}  // namespace

std::vector<Message_t> OfType(std::vector<Message_t> messages, std::int32_t type) {
    std::erase_if(messages, [type](const Message_t& message) { return message.type != type; });
    return messages;
}

Bytes ToBytes(const sf::Packet& packet) {
    const auto* data = static_cast<const std::uint8_t*>(packet.getData());
    return Bytes(data, data + packet.getDataSize());
}

sf::Packet ToPacket(const Bytes& bytes) {
    sf::Packet packet;
    if (!bytes.empty()) packet.append(bytes.data(), bytes.size());
    return packet;
}

Bytes Framed(const sf::Packet& packet) {
    sf::Packet frame;
    frame << static_cast<sf::Uint32>(packet.getDataSize());
    frame.append(packet.getData(), packet.getDataSize());
    return ToBytes(frame);
}

sf::Packet Typed(std::int32_t type) {
    sf::Packet packet;
    packet << type;
    return packet;
}

sf::Packet Received(sf::Packet packet) {
    std::int32_t type = 0;
    packet >> type;
    return packet;
}

SocketPair_t MakeSocketPair(int send_buffer) {
    int descriptors[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, descriptors) != 0) throw std::runtime_error("socketpair");
    if (send_buffer > 0) setsockopt(descriptors[0], SOL_SOCKET, SO_SNDBUF, &send_buffer, sizeof send_buffer);
    return {std::make_unique<AdoptedSocket>(descriptors[0]), std::make_unique<AdoptedSocket>(descriptors[1])};
}

}  // namespace test::net
