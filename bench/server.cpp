// The game server with ten clients connected over 127.0.0.1, each reporting its aircraft 20
// times a second as a game client does, and now and then launching a missile: how much of one
// core the server's thread uses, how long a relayed action takes to reach the other nine, and
// how many WorldStatus messages a client gets a second. The thread's processor time comes from
// the kernel's per-thread accounting.
//
// Then, on a display, a game on the same machine as the server, as the host's own game is: a
// missile key pressed at a random moment, and the time until the frame that shows the missile
// has been displayed. The game loop is the application's: input at the start of a frame, fixed
// 1/60 s updates, drawing, 60 frames a second; a launch goes to the server and runs when it comes
// back.
//
// Both are measured with the server's loop and, for comparison, with the loop it replaced: a
// pass every 50 ms.
//
// The game's port (5000) is fixed. When something else listens there (another program's
// tests), the benchmark waits for it to become free rather than talk to a stranger.
//
//   bench_server [--seconds N] [--wait-seconds N] [--presses N]
#include "support.hpp"

#include "audio/music_player.hpp"
#include "audio/sound_player.hpp"
#include "network/messages.hpp"
#include "network/reusable_listener.hpp"
#include "network/server/session.hpp"
#include "scene/category.hpp"
#include "state/game/multiplayer.hpp"
#include "state/state_stack.hpp"

#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Network/IpAddress.hpp>
#include <SFML/Network/SocketSelector.hpp>
#include <SFML/Network/TcpSocket.hpp>
#include <SFML/System/Sleep.hpp>

#include <unistd.h>

#include <atomic>
#include <fstream>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <thread>

namespace {

// Processor time of one thread of this process, in milliseconds.
double ThreadCpuMs(int thread) {
    std::ifstream schedstat("/proc/self/task/" + std::to_string(thread) + "/schedstat");
    double nanoseconds = -1e6;
    schedstat >> nanoseconds;
    return nanoseconds / 1e6;
}

bool WaitForFreePort(double wait_seconds) {
    const double wait_start = bench::NowMs();
    while (true) {
        network::ReusableListener probe;
        if (probe.ListenOnAnyAddress(network::SERVER_PORT) == sf::Socket::Done) return true;
        if (bench::NowMs() - wait_start > wait_seconds * 1000.0) return false;
        std::puts("port 5000 is busy; waiting");
        sf::sleep(sf::seconds(10.f));
    }
}

// A session served on a thread of the benchmark, with the game's loop (server.cpp) or the old one.
class Served {
public:
    explicit Served(bool old_loop)
        : session(sf::Vector2f(640.f, 480.f)), thread([this, old_loop] {
              thread_id = static_cast<int>(gettid());
              while (!stop.load()) {
                  session.Pass();
                  if (old_loop)
                      sf::sleep(sf::milliseconds(50));
                  else
                      session.Wait(session.UntilDue());
              }
          }) {}
    ~Served() {
        stop = true;
        thread.join();
    }
    int ThreadId() const {
        while (thread_id.load() == 0) sf::sleep(sf::milliseconds(1));
        return thread_id.load();
    }

private:
    network::server::Session session;
    std::atomic<bool> stop = false;
    std::atomic<int> thread_id = 0;
    std::thread thread;
};

const char* LoopName(bool old_loop) { return old_loop ? "old loop (a pass every 50 ms)" : "the server's loop"; }

struct Client {
    sf::TcpSocket socket;
    std::int32_t identifier = 0;
    double next_status_ms = 0.0;
    int statuses = 0;
};

int RelayFigures(double seconds, bool old_loop) {
    auto server = std::make_unique<Served>(old_loop);
    const int server_thread = server->ThreadId();

    std::vector<std::unique_ptr<Client>> clients;
    sf::SocketSelector selector;
    for (int i = 0; i < 10; ++i) {
        auto client = std::make_unique<Client>();
        if (client->socket.connect(sf::IpAddress::LocalHost, network::SERVER_PORT, sf::seconds(2.f)) != sf::Socket::Done) {
            std::printf("client %d could not connect\n", i + 1);
            return 1;
        }
        client->socket.setBlocking(false);
        selector.add(client->socket);
        clients.push_back(std::move(client));
    }

    // Reads whatever has arrived, waiting up to a millisecond for it; notes when a relayed action
    // reaches the other clients.
    double action_sent = -1.0;
    std::size_t action_sender = 0;
    std::vector<double> latencies;
    const auto pump = [&] {
        if (!selector.wait(sf::milliseconds(1))) return;
        const double arrived = bench::NowMs();
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
                    latencies.push_back(arrived - action_sent);
                } else if (type == network::ServerMessage::WorldStatus) {
                    ++clients[i]->statuses;
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
    }

    const double start = bench::NowMs();
    for (std::size_t i = 0; i < clients.size(); ++i) {
        clients[i]->next_status_ms = start + 5.0 * static_cast<double>(i);
        clients[i]->statuses = 0;
    }
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
            // Away from the server's rhythm of steps and ticks, so the actions meet every phase.
            next_action += 487.0;
        }
        pump();
    }
    const double wall = bench::NowMs() - start;
    const double cpu = ThreadCpuMs(server_thread) - cpu_start;
    std::vector<double> status_rates;
    for (const auto& client : clients) status_rates.push_back(1000.0 * client->statuses / wall);
    clients.clear();
    server.reset();

    const double share = 100.0 * cpu / wall;
    std::printf("%s, ten clients for %.1f s: server thread %d used %.1f ms of processor time (%.2f%% of one core)\n",
                LoopName(old_loop), wall / 1000.0, server_thread, cpu, share);
    std::printf("%zu actions relayed to %zu clients: median %.2f ms, 95th percentile %.2f ms, slowest %.2f ms\n", actions,
                latencies.size(), bench::Median(latencies), bench::Quantile(latencies, 0.95), bench::Max(latencies));
    if (old_loop) {
        bench::Info("server, old loop: processor use with ten clients", share, "% of a core");
        bench::Info("server, old loop: relayed action, median delay", bench::Median(latencies), "ms");
        bench::Info("server, old loop: relayed action, slowest delay", bench::Max(latencies), "ms");
        return 0;
    }
    bench::Figure("server: processor use with ten clients at 20 Hz", share, "% of a core", true, 5.0);
    bench::Figure("server: relayed action, median delay", bench::Median(latencies), "ms", true, 2.0);
    bench::Figure("server: relayed action, slowest delay", bench::Max(latencies), "ms", true, 5.0);
    bench::Figure("server: WorldStatus a second, slowest client", *std::min_element(status_rates.begin(), status_rates.end()),
                  "a second", false, 19.5);
    return 0;
}

// Stands for the screens the host's game may ask for; none comes in a short mission.
struct Still : state::State {
    using State::State;
    void Draw() override {}
    bool Update(sf::Time) override { return false; }
    bool HandleEvent(const sf::Event&) override { return false; }
};

struct Joiner : state::game::multiplayer::MultiplayerState {
    Joiner(state::StateStack& owner, const state::StateContext_t& shared_context, Joiner** out,
           const std::string& address_file)
        : MultiplayerState(owner, shared_context, false, {{}, {}, address_file}) {
        *out = this;
    }
};

bool IsNewShot(const scene::SceneNode& node, const std::set<const scene::SceneNode*>& known) {
    if ((node.GetCategory() & scene::Category::ALLIED_PROJECTILE) && !known.count(&node)) return true;
    for (const auto& child : node.GetChildren())
        if (IsNewShot(*child, known)) return true;
    return false;
}

void CollectShots(const scene::SceneNode& node, std::set<const scene::SceneNode*>& shots) {
    if (node.GetCategory() & scene::Category::ALLIED_PROJECTILE) shots.insert(&node);
    for (const auto& child : node.GetChildren()) CollectShots(*child, shots);
}

int MissileFigures(int presses, bool old_loop) {
    const Served server(old_loop);
    const std::string address_file = "/tmp/kirrow-bench-ip-" + std::to_string(getpid());
    std::ofstream(address_file) << "127.0.0.1";
    sf::RenderWindow window(sf::VideoMode(1280, 960), "Kirrow - SFML bench");
    window.setView(sf::View({320.f, 240.f}, {640.f, 480.f}));
    window.setFramerateLimit(60);
    holder::TextureHolder textures;
    holder::FontHolder fonts;
    fonts.Load(holder::FontId::Main, holder::FileOf(holder::FontId::Main));
    MusicPlayer music;
    SoundPlayer sounds;
    key_binding::KeyBinding keys_1{1, [](sf::Keyboard::Key) { return false; }};
    key_binding::KeyBinding keys_2{2, [](sf::Keyboard::Key) { return false; }};
    state::StateStack stack(state::StateContext_t{&window, &textures, &fonts, &music, &sounds, &keys_1, &keys_2});
    Joiner* host = nullptr;
    stack.RegisterState<Joiner>(state::StateId::JoinGame, &host, address_file);
    for (auto id : {state::StateId::Menu, state::StateId::NetworkPause, state::StateId::MissionFailed, state::StateId::MissionSuccess})
        stack.RegisterState<Still>(id);
    stack.PushState(state::StateId::JoinGame);

    const sf::Time step = sf::microseconds(16666);
    std::mt19937 random(5489);
    std::vector<double> delays;
    // Negative: no key pressed, or none due.
    double pressed_at = -1.0, press_due = -1.0;
    std::set<const scene::SceneNode*> shots;
    sf::Clock clock;
    sf::Time accumulator;
    const double start = bench::NowMs();
    int frames = 0;
    // The mission ends 40 s after the first player joins: the field has reached its top.
    while (delays.size() < static_cast<std::size_t>(presses) && bench::NowMs() - start < 35000.0) {
        sf::Event event;
        while (window.pollEvent(event)) {
        }
        // The key went down at press_due; the game hears of it at the start of the next frame.
        if (press_due >= 0.0 && bench::NowMs() >= press_due) {
            shots.clear();
            CollectShots(host->GetWorld().GetSceneGraph(), shots);
            for (const auto type : {sf::Event::KeyPressed, sf::Event::KeyReleased}) {
                sf::Event key{};
                key.type = type;
                key.key.code = sf::Keyboard::B;
                stack.HandleEvent(key);
            }
            pressed_at = press_due;
            press_due = -1.0;
        }
        for (accumulator += clock.restart(); accumulator >= step; accumulator -= step) stack.Update(step);
        window.clear();
        stack.Draw();
        window.display();
        ++frames;

        if (!host || host->GetLocalIdentifiers().empty()) continue;
        // Never short of missiles, never shot down.
        if (auto* aircraft = host->GetWorld().GetCharacter(host->GetLocalIdentifiers().front())) {
            aircraft->SetMissileAmmo(50);
            aircraft->SetHitpoints(100000);
        }
        if (pressed_at >= 0.0 && IsNewShot(host->GetWorld().GetSceneGraph(), shots)) {
            delays.push_back(bench::NowMs() - pressed_at);
            pressed_at = -1.0;
        }
        if (pressed_at < 0.0 && press_due < 0.0) press_due = bench::NowMs() + std::uniform_real_distribution<double>(150.0, 350.0)(random);
    }
    stack.ClearStates();
    stack.Update(sf::Time::Zero);
    std::remove(address_file.c_str());
    if (delays.size() < static_cast<std::size_t>(presses)) std::printf("only %zu of %d missiles in the mission's time\n", delays.size(), presses);
    if (delays.empty()) return 1;
    std::printf("%s, %zu missiles on the host: key press to the displayed frame median %.1f ms, slowest %.1f ms; "
                "a frame took %.1f ms on average\n",
                LoopName(old_loop), delays.size(), bench::Median(delays), bench::Max(delays), (bench::NowMs() - start) / frames);
    bench::Info(old_loop ? "host, old loop: key press to missile on screen, median" : "host: key press to missile on screen, median",
                bench::Median(delays), "ms");
    bench::Info(old_loop ? "host, old loop: key press to missile on screen, slowest" : "host: key press to missile on screen, slowest",
                bench::Max(delays), "ms");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const double seconds = bench::Option(argc, argv, "--seconds", 20);
    const double wait_seconds = bench::Option(argc, argv, "--wait-seconds", 300);
    const int presses = static_cast<int>(bench::Option(argc, argv, "--presses", 30));

    if (!WaitForFreePort(wait_seconds)) {
        std::puts("port 5000 stayed busy");
        std::printf("FIGURE|server: processor use with ten clients|<= 5 %%|port 5000 busy|FAIL\n");
        return 1;
    }
    for (const bool old_loop : {true, false})
        if (const int failed = RelayFigures(seconds, old_loop)) return failed;
    if (presses <= 0) return 0;
    for (const bool old_loop : {true, false})
        if (const int failed = MissileFigures(presses, old_loop)) return failed;
    return 0;
}
