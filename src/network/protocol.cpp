#include "network/protocol.hpp"

#include <SFML/Network/Packet.hpp>
#include <SFML/Network/TcpSocket.hpp>
#include <SFML/System/Clock.hpp>
#include <SFML/System/Sleep.hpp>

namespace network {

TimeSource StartClock() {
    return [clock = sf::Clock()] { return clock.getElapsedTime(); };
}

SendResult SendPacket(sf::TcpSocket& socket, const sf::Packet& packet, sf::Time stall_limit) {
    // SFML keeps the position of a partial send inside the packet object; a fresh copy starts at
    // its first byte and leaves the caller's packet untouched for the next peer.
    sf::Packet outgoing;
    outgoing.append(packet.getData(), packet.getDataSize());

    bool started = false;
    sf::Clock stalled;
    while (true) {
        switch (socket.send(outgoing)) {
        case sf::Socket::Done:
            return SendResult::Sent;
        case sf::Socket::Partial:
            if (!started) stalled.restart();
            started = true;
            continue;
        case sf::Socket::NotReady:
            // Half a packet on the wire would corrupt everything after it: wait for room.
            if (started && stalled.getElapsedTime() < stall_limit) {
                sf::sleep(sf::milliseconds(1));
                continue;
            }
            break;
        default:
            break;
        }
        return started ? SendResult::Broken : SendResult::Dropped;
    }
}

}  // namespace network
