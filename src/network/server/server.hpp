#pragma once

#include "network/server/session.hpp"

#include <SFML/System/Vector2.hpp>

#include <atomic>
#include <string>
#include <thread>

namespace network::server {

// A game session served on a thread of its own from construction to destruction. The thread
// sleeps until a peer sends, a newcomer knocks or the next battlefield step or tick is due, so a
// message is answered as soon as it arrives. It shares nothing with its owner but the stop flag;
// clients, the host's own included, reach it only through their sockets.
class Server {
public:
    explicit Server(sf::Vector2f battlefield_size, const Settings_t& settings = Settings_t());
    ~Server();

    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;

    // Where it listened at the start: the port, or 0 and why not.
    unsigned short Port() const { return port; }
    const std::string& ListenFailure() const { return listen_failure; }

private:
    void Run();

    Session session;
    // Taken before the thread starts, which owns the session from then on.
    const unsigned short port;
    const std::string listen_failure;
    std::atomic<bool> stop_requested = false;
    // Last: the thread must never see a half-built server.
    std::thread thread;
};

}  // namespace network::server
