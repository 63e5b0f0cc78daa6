#pragma once

#include "network/messages.hpp"
#include "support/net_packets.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace test::net {

// A game client of the server over 127.0.0.1. Everything it receives must be a well-formed server
// message. Its waits poll with a generous deadline that only decides failure, running `pump`
// between polls: a server pass, for a test that drives the server itself.
class TestClient {
public:
    explicit TestClient(std::function<void()> pump = {}) : pump(std::move(pump)) {}

    bool Connect(unsigned short port);
    void Close() { socket.disconnect(); }
    unsigned short LocalPort() const { return socket.getLocalPort(); }
    // Failed sends are for the server to notice.
    void Send(const sf::Packet& packet) { network::SendPacket(socket, packet); }
    void SendRaw(const void* data, std::size_t size);
    void SendStatus(std::vector<network::AircraftStatusEntry_t> entries);

    // The next message; nothing once the server has closed the connection.
    std::optional<Message_t> Receive();
    // The next one that is not periodic (WorldStatus, SpawnEnemy).
    std::optional<Message_t> NextEvent();
    std::optional<Message_t> WaitFor(std::int32_t type);
    // Whatever has arrived by now.
    std::vector<Message_t> Drain();
    bool ClosedByServer();

    // The next event, which must be of the given type, read with the given reader.
    template <typename Reader>
    auto Expect(std::int32_t type, Reader reader) -> decltype(reader(std::declval<sf::Packet&>())) {
        std::optional<Message_t> message = NextEvent();
        if (message && message->type == type) return reader(message->packet);
        ADD_FAILURE() << "expected message type " << type << ", got " << (message ? message->type : -1);
        return std::nullopt;
    }

    struct Welcome_t {
        network::WorldSnapshot_t snapshot;
        network::AircraftPlacement_t aircraft;
    };
    // Connects, reads the snapshot and the assignment right after it, and reports its (empty)
    // status at once as a game client does.
    std::optional<Welcome_t> Join(unsigned short port);

    // The aircraft handed to this client, in order.
    std::vector<std::int32_t> own;

private:
    std::optional<Message_t> Take(sf::Socket::Status& status);

    sf::TcpSocket socket;
    std::function<void()> pump;
};

}  // namespace test::net
