// Stands between a joining game and a host whose server runs in another network namespace:
// listens on 127.0.0.1:5000 here, takes one connection, connects it to port 5000 in the namespace
// of process HOST_PID and passes the traffic on both ways, except the server's messages of the
// DROP types. Messages are packets: a 4-byte big-endian size, then the data, whose first int32 is the
// type. It stops listening once connected and ends, closing both sides, when either side ends.
// Usage: relay HOST_PID DROP...
#include <arpa/inet.h>
#include <fcntl.h>
#include <poll.h>
#include <sched.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::uint32_t BigEndianAt(const std::vector<char>& bytes, std::size_t at) {
    std::uint32_t value;
    std::memcpy(&value, &bytes[at], 4);
    return ntohl(value);
}

bool SendAll(int socket, const char* data, std::size_t size) {
    for (ssize_t sent = 0; size > 0; data += sent, size -= static_cast<std::size_t>(sent))
        if ((sent = send(socket, data, size, MSG_NOSIGNAL)) <= 0) return false;
    return true;
}

// Sends on every whole packet of `pending` but the dropped types; a partial one waits for its rest.
bool ForwardPackets(std::vector<char>& pending, int to, const std::vector<std::uint32_t>& drops) {
    std::size_t at = 0;
    for (std::size_t size; pending.size() - at >= 4 && pending.size() - at - 4 >= (size = BigEndianAt(pending, at)); at += 4 + size)
        if ((size < 4 || std::find(drops.begin(), drops.end(), BigEndianAt(pending, at + 4)) == drops.end()) &&
            !SendAll(to, &pending[at], 4 + size))
            return false;
    pending.erase(pending.begin(), pending.begin() + static_cast<long>(at));
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return std::fprintf(stderr, "usage: relay HOST_PID DROP...\n"), 2;
    sockaddr_in port{};
    port.sin_family = AF_INET;
    port.sin_port = htons(5000);
    port.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const auto* address = reinterpret_cast<const sockaddr*>(&port);
    const int listener = socket(AF_INET, SOCK_STREAM, 0), yes = 1;
    setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    if (bind(listener, address, sizeof port) != 0 || listen(listener, 1) != 0) return std::perror("relay: listen"), 1;
    const int joiner = accept(listener, nullptr, nullptr);
    close(listener);
    // Sockets made from here on belong to the host's namespace.
    const int host_network = open((std::string("/proc/") + argv[1] + "/ns/net").c_str(), O_RDONLY);
    const int server = setns(host_network, CLONE_NEWNET) == 0 ? socket(AF_INET, SOCK_STREAM, 0) : -1;
    if (joiner < 0 || server < 0 || connect(server, address, sizeof port) != 0) return std::perror("relay: host"), 1;

    std::vector<std::uint32_t> drops;
    for (int i = 2; i < argc; ++i) drops.push_back(static_cast<std::uint32_t>(std::stoul(argv[i])));
    std::vector<char> from_server, buffer(1 << 16);
    pollfd sides[2] = {{joiner, POLLIN, 0}, {server, POLLIN, 0}};
    while (poll(sides, 2, -1) > 0) {
        if (sides[0].revents) {
            const ssize_t got = recv(joiner, buffer.data(), buffer.size(), 0);
            if (got <= 0 || !SendAll(server, buffer.data(), static_cast<std::size_t>(got))) break;
        }
        if (sides[1].revents) {
            const ssize_t got = recv(server, buffer.data(), buffer.size(), 0);
            if (got <= 0) break;
            from_server.insert(from_server.end(), buffer.begin(), buffer.begin() + got);
            if (!ForwardPackets(from_server, joiner, drops)) break;
        }
    }
    return 0;
}
