#pragma once

#include <SFML/Network/TcpSocket.hpp>

#include <functional>
#include <memory>
#include <mutex>
#include <string>

namespace network {

// One attempt to open the client's connection to the server, made on a thread of its own:
// resolving a name may take seconds and connecting up to its time-out, and the window must keep
// answering meanwhile.
class Connector {
public:
    // Runs on the attempt's thread: a connected socket, or nothing.
    using Connect = std::function<std::unique_ptr<sf::TcpSocket>(const std::string& host, unsigned short port)>;

    // Resolves the host (the loopback address when it does not resolve) and connects to the port
    // with a time-out of a second.
    static std::unique_ptr<sf::TcpSocket> ConnectOverTcp(const std::string& host, unsigned short port);

    Connector(const std::string& host, unsigned short port, const Connect& connect);
    // Never waits: an attempt still running finishes on its own and closes what it opened.
    ~Connector() = default;

    Connector(const Connector&) = delete;
    Connector& operator=(const Connector&) = delete;

    bool Finished() const;
    // Once finished: the connected socket, non-blocking, or nothing when the attempt failed.
    std::unique_ptr<sf::TcpSocket> Take();

private:
    struct Attempt {
        std::mutex mutex;
        bool finished = false;
        std::unique_ptr<sf::TcpSocket> socket;
    };

    std::shared_ptr<Attempt> attempt;
};

}  // namespace network
