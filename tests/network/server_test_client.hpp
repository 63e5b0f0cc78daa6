#pragma once

#include "network/messages.hpp"

#include <gtest/gtest.h>

#include <SFML/Network/Packet.hpp>
#include <SFML/Network/TcpSocket.hpp>
#include <SFML/System/Clock.hpp>
#include <SFML/System/Time.hpp>

#include <optional>
#include <utility>
#include <vector>

namespace server_test {

// The size of the battlefield the tests' servers share with their clients.
inline const sf::Vector2f BATTLEFIELD_SIZE(640.f, 480.f);

struct Message_t {
    network::ServerMessage::t type = network::ServerMessage::Notice;
    sf::Packet packet;  // just after the type, ready for its reader
};

// A client of the game server over 127.0.0.1, reading what the server sends with the protocol's
// own readers. It closes its connection when destroyed.
class TestClient {
public:
    // False when nobody accepts the connection within a second.
    bool Connect();
    void Disconnect() { socket.disconnect(); }
    void Send(const sf::Packet& packet);
    // Bytes outside any packet framing.
    sf::Socket::Status SendRaw(const void* data, std::size_t size) { return socket.send(data, size); }
    unsigned short LocalPort() const { return socket.getLocalPort(); }
    // Sends an empty status now and then while waiting, so that the server keeps this client.
    void SetKeepAlive(bool enable) { keep_alive = enable; }

    // The next message of any type.
    std::optional<Message_t> Receive(sf::Time timeout = sf::seconds(1.f));
    // The next message that is not one of the server's periodic ones (WorldStatus, SpawnEnemy).
    std::optional<Message_t> NextEvent(sf::Time timeout = sf::seconds(1.f));
    // The next message of the given type; others are passed over.
    std::optional<Message_t> WaitFor(network::ServerMessage::t type, sf::Time timeout = sf::seconds(1.f));
    // Reads and forgets whatever has arrived.
    void Drain();
    // Everything that arrives within the duration.
    std::vector<Message_t> Collect(sf::Time duration);
    // Whether the server has closed the connection (after reading whatever it sent before).
    bool ClosedByServer(sf::Time timeout = sf::seconds(1.f));

    // The next event, which must be of the given type, read with the given reader.
    template <typename Reader>
    auto Expect(network::ServerMessage::t type, Reader reader, sf::Time timeout = sf::seconds(1.f))
        -> decltype(reader(std::declval<sf::Packet&>())) {
        std::optional<Message_t> message = NextEvent(timeout);
        if (!message) {
            ADD_FAILURE() << "no message; expected type " << type;
            return std::nullopt;
        }
        if (message->type != type) {
            ADD_FAILURE() << "message type " << message->type << "; expected " << type;
            return std::nullopt;
        }
        return reader(message->packet);
    }

    // Reads the two welcome messages of a newcomer; the aircraft is nothing on any fault.
    struct Welcome_t {
        network::WorldSnapshot_t snapshot;
        network::AircraftPlacement_t aircraft;
    };
    std::optional<Welcome_t> Join();

    void SendStatus(std::vector<network::AircraftStatusEntry_t> entries);

private:
    sf::TcpSocket socket;
    sf::Clock keep_alive_clock;
    bool keep_alive = false;
};

std::optional<Message_t> Find(std::vector<Message_t>& messages, network::ServerMessage::t type);

}  // namespace server_test
