#include "network/server/server.hpp"

#include <SFML/System/Sleep.hpp>

namespace network::server {

namespace {
// A pass every 50 ms: a tick is due about as often, and a message waits at most this long.
const sf::Time PASS_INTERVAL = sf::milliseconds(50);
}  // namespace

Server::Server(sf::Vector2f battlefield_size, const Settings_t& settings)
    : session(battlefield_size, settings), thread(&Server::Run, this) {}

Server::~Server() {
    stop_requested.exchange(true);
    thread.join();
}

void Server::Run() {
    while (!stop_requested.load()) {
        session.Pass();
        sf::sleep(PASS_INTERVAL);
    }
}

}  // namespace network::server
