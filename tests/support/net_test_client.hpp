#pragma once

#include "network/messages.hpp"
#include "support/net_packets.hpp"

#include <gtest/gtest.h>

#include <SFML/Network/Packet.hpp>
#include <SFML/Network/TcpSocket.hpp>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace test::net {

// Whether a server message of this type is one its reader accepts.
bool WellFormed(std::int32_t type, sf::Packet packet);

// A game client of the server over 127.0.0.1. Everything it receives must be a well-formed
// server message. Its waits poll with a generous deadline that only decides failure, running
// `pump` between polls: a server pass, for a test that drives the server itself.
class TestClient {
public:
    explicit TestClient(std::function<void()> pump = {}) : pump(std::move(pump)) {}

    bool Connect(unsigned short port);
    void Close() { socket.disconnect(); }
    unsigned short LocalPort() const { return socket.getLocalPort(); }
    // Failed sends are for the server to notice; a test sees what it made of them.
    void Send(const sf::Packet& packet);
    void SendRaw(const void* data, std::size_t size);

    // The next message; nothing once the server has closed the connection (or at the deadline).
    std::optional<Message_t> Receive();
    // The next message that is not one of the server's periodic ones (WorldStatus, SpawnEnemy).
    std::optional<Message_t> NextEvent();
    // The next message of this type; others are passed over.
    std::optional<Message_t> WaitFor(std::int32_t type);
    // Whatever has arrived by now, without waiting.
    std::vector<Message_t> Drain();
    // Whether the server closes the connection, after whatever it sent before.
    bool ClosedByServer();

    // The next event, which must be of the given type, read with the given reader.
    template <typename Reader>
    auto Expect(std::int32_t type, Reader reader) -> decltype(reader(std::declval<sf::Packet&>())) {
        std::optional<Message_t> message = NextEvent();
        if (!message || message->type != type) {
            ADD_FAILURE() << "expected message type " << type << ", got " << (message ? message->type : -1);
            return std::nullopt;
        }
        return reader(message->packet);
    }

    struct Welcome_t {
        network::WorldSnapshot_t snapshot;
        network::AircraftPlacement_t aircraft;
    };
    // Connects, reads the snapshot and the assignment that must follow it at once, and reports
    // its empty status as a game client does.
    std::optional<Welcome_t> Join(unsigned short port);
    void SendStatus(std::vector<network::AircraftStatusEntry_t> entries);

    // The aircraft handed to this client, in order.
    std::vector<std::int32_t> own;

private:
    std::optional<Message_t> Take(sf::Socket::Status& status);

    sf::TcpSocket socket;
    std::function<void()> pump;
};

}  // namespace test::net
