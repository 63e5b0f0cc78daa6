#pragma once

#include <SFML/Network/TcpListener.hpp>

#include <string>

namespace network {

// A TCP listener that may bind its port while connections accepted earlier on that port are still
// open or lingering in TIME_WAIT. SFML 2.5's own listen refuses then, so a server that stopped
// listening at its player limit could never listen again while anyone stays connected, and a host
// could not start a new game for a minute after the last one. Two listeners still cannot share a
// port. Accepting and closing are SFML's.
class ReusableListener : public sf::TcpListener {
public:
    // Listens on every local address; Done or Error. The blocking mode set before is kept.
    sf::Socket::Status ListenOnAnyAddress(unsigned short port);
    // Why the last ListenOnAnyAddress failed, for a person: "Port 5000 is in use".
    const std::string& Failure() const { return failure; }

private:
    std::string failure;
};

}  // namespace network
