#include "network/reusable_listener.hpp"

#include <netinet/in.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstring>

namespace network {

sf::Socket::Status ReusableListener::ListenOnAnyAddress(unsigned short port) {
    close();
    create();
    const sf::SocketHandle handle = getHandle();

    const int reuse = 1;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    address.sin_port = htons(port);
    if (setsockopt(handle, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse) != 0 ||
        bind(handle, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(handle, SOMAXCONN) != 0) {
        const int error = errno;
        failure = "Port " + std::to_string(port) + (error == EADDRINUSE ? " is in use" : ": " + std::string(std::strerror(error)));
        close();
        return sf::Socket::Error;
    }
    failure.clear();
    return sf::Socket::Done;
}

}  // namespace network
