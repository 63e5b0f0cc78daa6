#pragma once

#include "network/connector.hpp"
#include "support/net_packets.hpp"

#include <memory>
#include <mutex>
#include <vector>

namespace test::net {

// The server's end of a multiplayer client's connection, in this process. Connect is what the
// client's connector calls on its own thread: it hands out the near end of the current socket
// pair (a fresh pair each time), or nothing while refusing.
class FakeServer {
public:
    network::Connector::Connect Connect();
    // Connection attempts so far, refused ones included.
    int Attempts() const;
    void SetRefusing(bool refusing);
    void SendRaw(const Bytes& bytes);
    // The client's messages that have arrived.
    std::vector<Message_t> Received();
    void Close();

private:
    // Shared with attempts, which may outlive this object.
    struct Shared_t {
        std::mutex mutex;
        std::unique_ptr<sf::TcpSocket> far;
        int attempts = 0;
        bool refusing = false;
    };
    std::shared_ptr<Shared_t> shared = std::make_shared<Shared_t>();
};

}  // namespace test::net
