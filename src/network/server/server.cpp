#include "network/server/server.hpp"

namespace network::server {

Server::Server(sf::Vector2f battlefield_size, const Settings_t& settings)
    : session(battlefield_size, settings),
      port(session.ListenFailure().empty() ? session.Port() : 0),
      listen_failure(session.ListenFailure()),
      thread(&Server::Run, this) {}

Server::~Server() {
    stop_requested.exchange(true);
    thread.join();
}

// A stop request waits for the next wake-up, a battlefield step away at most.
void Server::Run() {
    while (!stop_requested.load()) {
        session.Pass();
        session.Wait(session.UntilDue());
    }
}

}  // namespace network::server
