#pragma once

#include "network/messages.hpp"
#include "support/net_packets.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace test::net {

// A game client of the server over 127.0.0.1; whatever it receives must be a well-formed server
// message. Its waits poll with a generous deadline that only decides failure, running `pump`
// between polls (a server pass, for a test that drives the server itself).
class TestClient {
public:
    explicit TestClient(std::function<void()> pump = {}) : pump(std::move(pump)) {}

    bool Connect(unsigned short port);
    void Close() { socket.disconnect(); }
    unsigned short LocalPort() const { return socket.getLocalPort(); }
    void Send(const sf::Packet& packet) { network::SendPacket(socket, packet); }
    void SendRaw(const Bytes& bytes);
    void SendStatus(std::vector<network::AircraftStatusEntry_t> entries) { Send(network::WriteAircraftStatus({entries})); }

    // The next message; nothing once the server has closed the connection.
    std::optional<Message_t> Receive();
    std::optional<Message_t> WaitFor(std::int32_t type);
    // The next message, which must be of this type and not periodic (WorldStatus, SpawnEnemy).
    std::optional<Message_t> Expect(std::int32_t type);
    // Whatever has arrived by now.
    std::vector<Message_t> Drain();
    bool ClosedByServer();
    // What arrives before the server relays a launch of the first own aircraft sent now: by then
    // all this client sent before has been handled.
    std::vector<Message_t> Sync();

    struct Welcome_t {
        network::WorldSnapshot_t snapshot;
        network::AircraftPlacement_t aircraft;
    };
    // Connects, reads the snapshot and the assignment right after it, and reports an empty status
    // at once as a game client does.
    std::optional<Welcome_t> Join(unsigned short port);

    // The aircraft handed to this client, in order.
    std::vector<std::int32_t> own;

private:
    std::optional<Message_t> Take(sf::Socket::Status& status);

    sf::TcpSocket socket;
    std::function<void()> pump;
};

// What the reader makes of the message; nothing when there is none.
template <typename Reader>
auto Read(Reader reader, std::optional<Message_t> message) -> decltype(reader(message->packet)) {
    if (!message) return std::nullopt;
    return reader(message->packet);
}

}  // namespace test::net
