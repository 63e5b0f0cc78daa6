// The game server with ten clients connected over 127.0.0.1, each reporting its aircraft 20
// times a second as a game client does, and now and then launching a missile: how much of one
// core the server's thread uses, and how long a relayed action takes to reach the other nine.
// The server's own thread is found as the thread that appears when the server is made; its
// processor time comes from the kernel's per-thread accounting.
//
// The game's port (5000) is fixed. When something else listens there (another program's
// tests), the benchmark waits for it to become free rather than talk to a stranger.
//
//   bench_server [--seconds N] [--wait-seconds N]
#include "support.hpp"

#include "network/messages.hpp"
#include "network/reusable_listener.hpp"
#include "network/server/server.hpp"

#include <SFML/Network/IpAddress.hpp>
#include <SFML/Network/TcpSocket.hpp>
#include <SFML/System/Sleep.hpp>

#include <dirent.h>
#include <fstream>
#include <memory>
#include <optional>
#include <set>
#include <string>

namespace {

std::set<int> ThreadIds() {
    std::set<int> ids;
    if (DIR* tasks = opendir("/proc/self/task")) {
        while (const dirent* entry = readdir(tasks))
            if (entry->d_name[0] != '.') ids.insert(std::atoi(entry->d_name));
        closedir(tasks);
    }
    return ids;
}

// Processor time of one thread of this process, in milliseconds.
double ThreadCpuMs(int thread) {
    std::ifstream schedstat("/proc/self/task/" + std::to_string(thread) + "/schedstat");
    double nanoseconds = -1e6;
    schedstat >> nanoseconds;
    return nanoseconds / 1e6;
}

bool PortIsFree() {
    network::ReusableListener probe;
    const bool free = probe.ListenOnAnyAddress(network::SERVER_PORT) == sf::Socket::Done;
    probe.close();
    return free;
}

struct Client {
    sf::TcpSocket socket;
    std::int32_t identifier = 0;
    double next_status_ms = 0.0;
};

}  // namespace

int main(int argc, char** argv) {
    const double seconds = bench::Option(argc, argv, "--seconds", 20);
    const double wait_seconds = bench::Option(argc, argv, "--wait-seconds", 300);

    const double wait_start = bench::NowMs();
    while (!PortIsFree()) {
        if (bench::NowMs() - wait_start > wait_seconds * 1000.0) {
            std::puts("port 5000 stayed busy");
            std::printf("FIGURE|server: processor use with ten clients|<= 5 %%|port 5000 busy|FAIL\n");
            return 1;
        }
        std::puts("port 5000 is busy; waiting");
        sf::sleep(sf::seconds(10.f));
    }

    const std::set<int> before = ThreadIds();
    auto server = std::make_unique<network::server::Server>(sf::Vector2f(640.f, 480.f));
    int server_thread = 0;
    for (int id : ThreadIds())
        if (!before.count(id)) server_thread = id;

    std::vector<std::unique_ptr<Client>> clients;
    for (int i = 0; i < 10; ++i) {
        auto client = std::make_unique<Client>();
        if (client->socket.connect(sf::IpAddress::LocalHost, network::SERVER_PORT, sf::seconds(2.f)) != sf::Socket::Done) {
            std::printf("client %d could not connect\n", i + 1);
            return 1;
        }
        client->socket.setBlocking(false);
        clients.push_back(std::move(client));
    }

    // Reads everything pending; returns the arrival of a relayed action on other clients.
    double action_sent = -1.0;
    std::size_t action_sender = 0;
    std::vector<double> latencies;
    const auto pump = [&] {
        for (std::size_t i = 0; i < clients.size(); ++i) {
            sf::Packet packet;
            while (clients[i]->socket.receive(packet) == sf::Socket::Done) {
                const auto type = network::ReadServerMessageType(packet);
                if (type == network::ServerMessage::AssignAircraft) {
                    if (const auto placement = network::ReadAssignAircraft(packet)) {
                        clients[i]->identifier = placement->identifier;
                        // At once, as a game client does: a newcomer that stays silent loses its slot.
                        network::SendPacket(clients[i]->socket, network::WriteAircraftStatus({}));
                    }
                } else if (type == network::ServerMessage::OneShotAction && action_sent >= 0.0 && i != action_sender) {
                    latencies.push_back(bench::NowMs() - action_sent);
                }
                packet.clear();
            }
        }
    };

    const double join_start = bench::NowMs();
    const auto all_joined = [&] {
        for (const auto& client : clients)
            if (client->identifier == 0) return false;
        return true;
    };
    while (!all_joined()) {
        pump();
        if (bench::NowMs() - join_start > 5000.0) {
            std::puts("not every client got its aircraft");
            return 1;
        }
        sf::sleep(sf::milliseconds(1));
    }

    const double start = bench::NowMs();
    for (std::size_t i = 0; i < clients.size(); ++i) clients[i]->next_status_ms = start + 5.0 * static_cast<double>(i);
    const double cpu_start = ThreadCpuMs(server_thread);
    double next_action = start + 250.0;
    std::size_t actions = 0;
    while (bench::NowMs() - start < seconds * 1000.0) {
        const double now = bench::NowMs();
        for (auto& client : clients)
            if (now >= client->next_status_ms) {
                network::AircraftStatus_t status;
                status.entries.push_back({client->identifier, {320.f, 2000.f - static_cast<float>(now - start) / 20.f}, 100, 2});
                network::SendPacket(client->socket, network::WriteAircraftStatus(status));
                client->next_status_ms += 50.0;
            }
        if (now >= next_action) {
            action_sender = actions % clients.size();
            auto& sender = *clients[action_sender];
            action_sent = bench::NowMs();
            network::SendPacket(sender.socket, network::WriteClientOneShotAction(
                                                   {sender.identifier, key_binding::PlayerAction::LAUNCH_MISSILE}));
            ++actions;
            // Away from the loop's rhythm, so the waits spread over the whole loop.
            next_action += 487.0;
        }
        pump();
        sf::sleep(sf::milliseconds(1));
    }
    const double wall = bench::NowMs() - start;
    const double cpu = ThreadCpuMs(server_thread) - cpu_start;
    clients.clear();
    server.reset();

    const double share = 100.0 * cpu / wall;
    std::printf("ten clients for %.1f s: server thread %d used %.1f ms of processor time (%.2f%% of one core)\n",
                wall / 1000.0, server_thread, cpu, share);
    std::printf("%zu actions relayed to %zu clients: median %.1f ms, 95th percentile %.1f ms, slowest %.1f ms\n", actions,
                latencies.size(), bench::Median(latencies), bench::Quantile(latencies, 0.95), bench::Max(latencies));
    bench::Figure("server: processor use with ten clients at 20 Hz", share, "% of a core", true, 5.0);
    bench::Info("server: relayed action, median delay", bench::Median(latencies), "ms");
    bench::Figure("server: relayed action, slowest delay", bench::Max(latencies), "ms", true, 60.0);
    return 0;
}
