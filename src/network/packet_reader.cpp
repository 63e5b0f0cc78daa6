#include "network/packet_reader.hpp"

#include "network/protocol.hpp"

#include <SFML/Network/TcpSocket.hpp>

#include <algorithm>

namespace network {

bool PacketReader::Fill(sf::TcpSocket& socket, std::uint8_t* buffer, std::size_t size, std::size_t& filled,
                        std::size_t& budget, Result& result) {
    while (filled < size) {
        if (budget == 0) {
            result = Result::Waiting;
            return false;
        }
        std::size_t received = 0;
        const sf::Socket::Status status = socket.receive(buffer + filled, std::min(size - filled, budget), received);
        if (status != sf::Socket::Done) {
            result = status == sf::Socket::NotReady ? Result::Waiting : Result::Closed;
            return false;
        }
        filled += received;
        budget -= received;
    }
    return true;
}

PacketReader::Result PacketReader::Receive(sf::TcpSocket& socket, sf::Packet& packet, std::size_t& budget) {
    Result result = Result::Waiting;
    if (header_filled < header.size()) {
        if (!Fill(socket, header.data(), header.size(), header_filled, budget, result)) return result;
        const std::uint32_t size = static_cast<std::uint32_t>(header[0]) << 24 | static_cast<std::uint32_t>(header[1]) << 16 |
                                   static_cast<std::uint32_t>(header[2]) << 8 | header[3];
        if (size > MAX_PACKET_SIZE) return Result::TooLarge;
        body.resize(size);
        body_filled = 0;
    }
    if (!Fill(socket, body.data(), body.size(), body_filled, budget, result)) return result;

    packet.clear();
    if (!body.empty()) packet.append(body.data(), body.size());
    header_filled = 0;
    return Result::Packet;
}

}  // namespace network
