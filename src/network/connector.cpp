#include "network/connector.hpp"

#include <SFML/Network/IpAddress.hpp>

#include <thread>

namespace network {

std::unique_ptr<sf::TcpSocket> Connector::ConnectOverTcp(const std::string& host, unsigned short port) {
    sf::IpAddress address(host);
    if (address == sf::IpAddress::None) address = sf::IpAddress::LocalHost;
    auto socket = std::make_unique<sf::TcpSocket>();
    if (socket->connect(address, port, sf::seconds(1.f)) != sf::Socket::Done) return nullptr;
    return socket;
}

Connector::Connector(const std::string& host, unsigned short port, const Connect& connect)
    : attempt(std::make_shared<Attempt>()) {
    // Detached, holding its own share: the owner may be gone long before a slow name resolves.
    std::thread([attempt = attempt, host, port, connect] {
        std::unique_ptr<sf::TcpSocket> socket = connect(host, port);
        if (socket) socket->setBlocking(false);
        const std::lock_guard<std::mutex> lock(attempt->mutex);
        attempt->socket = std::move(socket);
        attempt->finished = true;
    }).detach();
}

bool Connector::Finished() const {
    const std::lock_guard<std::mutex> lock(attempt->mutex);
    return attempt->finished;
}

std::unique_ptr<sf::TcpSocket> Connector::Take() {
    const std::lock_guard<std::mutex> lock(attempt->mutex);
    return std::move(attempt->socket);
}

}  // namespace network
