#pragma once

#include "network/server/session.hpp"

#include <SFML/System/Vector2.hpp>

#include <atomic>
#include <thread>

namespace network::server {

// A game session served on a thread of its own from construction to destruction. It shares
// nothing with its owner but the stop flag; clients, the host's own included, reach it only
// through their sockets.
class Server {
public:
    explicit Server(sf::Vector2f battlefield_size, const Settings_t& settings = Settings_t());
    ~Server();

    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;

private:
    void Run();

    Session session;
    std::atomic<bool> stop_requested = false;
    // Last: the thread must never see a half-built server.
    std::thread thread;
};

}  // namespace network::server
