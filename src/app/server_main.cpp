// kirrow-server [--port N]: the game server on its own, for players who join it from anywhere. It
// needs no window, display or sound, and runs until Ctrl+C or SIGTERM.
#include "network/address_file.hpp"
#include "network/server/server.hpp"
#include "rules/mission_rules.hpp"

#include <csignal>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

namespace {

void Say(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

// The port asked for, or nothing when the arguments make no sense.
std::optional<unsigned short> PortOf(int argc, char** argv) {
    if (argc == 1) return network::SERVER_PORT;
    if (argc != 3 || std::strcmp(argv[1], "--port") != 0) return std::nullopt;
    const network::ServerAddress_t address = network::ParseServerAddress(std::string("server:") + argv[2]);
    if (!address.problem.empty()) return std::nullopt;
    return address.port;
}

}  // namespace

int main(int argc, char** argv) {
    const std::optional<unsigned short> port = PortOf(argc, argv);
    if (!port) {
        std::fprintf(stderr, "usage: kirrow-server [--port N]   (N from 1 to 65535, 5000 if not given)\n");
        return 2;
    }
    // Taken by sigwait below, in every thread: the server's thread is never interrupted.
    sigset_t stop_signals;
    sigemptyset(&stop_signals);
    sigaddset(&stop_signals, SIGINT);
    sigaddset(&stop_signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stop_signals, nullptr);

    network::server::Settings_t settings;
    settings.port = *port;
    settings.report = Say;
    std::optional<network::server::Server> server(std::in_place, sf::Vector2f(rules::VIEW_WIDTH, rules::VIEW_HEIGHT), settings);
    if (server->Port() == 0) {
        std::fprintf(stderr, "kirrow-server: %s\n", server->ListenFailure().c_str());
        return 1;
    }

    int signal = 0;
    sigwait(&stop_signals, &signal);
    // Closes every connection; the players see the game lost.
    server.reset();
    Say("Stopped");
    return 0;
}
