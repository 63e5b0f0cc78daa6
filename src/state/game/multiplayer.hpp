#pragma once

#include "network/connector.hpp"
#include "network/packet_reader.hpp"
#include "network/protocol.hpp"
#include "network/rate_limit.hpp"
#include "network/server/server.hpp"
#include "player/player.hpp"
#include "state/game/notice_queue.hpp"
#include "state/state.hpp"
#include "world/world.hpp"

#include <SFML/Graphics/Text.hpp>
#include <SFML/Network/TcpSocket.hpp>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace sf {
class RenderWindow;
}

namespace state::game::multiplayer {

// A game leaves these at their defaults; tests step the time and hand over the connection.
struct Options_t {
    // Empty: a clock started with the state.
    network::TimeSource now;
    // Opens the connection on the connector's thread. Empty: over TCP to the game port.
    network::Connector::Connect connect;
    std::string address_file = "ip.txt";
};

// The network mission and its client: hosts (optionally) and joins a server, runs a networked
// world, drives the local aircraft and replays the others. Nothing here waits: connecting runs
// on a thread of its own, and each update takes what the server sent within a budget.
class MultiplayerState : public State {
public:
    MultiplayerState(StateStack& stack, const StateContext_t& context, bool host, Options_t options = {});
    ~MultiplayerState() override;

    void Draw() override;
    bool Update(sf::Time dt) override;
    bool HandleEvent(const sf::Event& event) override;
    void OnActivate() override;
    void OnDestroy() override;

    // For tests.
    bool IsConnected() const { return connected; }
    const world::World& GetWorld() const { return *world; }
    const std::vector<std::int32_t>& GetLocalIdentifiers() const { return local_identifiers; }
    const sf::Text& GetConnectionText() const { return connection_text; }
    // The notice on screen; empty when none is.
    std::string GetNotice() const;
    bool IsSpawnPromptVisible() const;

private:
    void UpdateConnecting();
    void StartSession(std::unique_ptr<sf::TcpSocket> opened);
    void ConnectionLost();
    bool Send(const sf::Packet& packet);
    void ShowResult(StateId result);
    // Drops players whose aircraft is gone; true when that left no player at all.
    bool ErasePlayersWithoutAircraft(bool& any_local);
    void SendStatus();
    void SendWorldEvents();
    void ReceiveMessages();
    void HandlePacket(std::int32_t type, sf::Packet& packet);
    void HandleAircraftPlacement(std::int32_t type, sf::Packet& packet);
    void HandleWorldSnapshot(sf::Packet& packet);
    void HandleWorldStatus(sf::Packet& packet);
    void HandleNotice(sf::Packet& packet);
    void HandleSpawnEnemy(sf::Packet& packet);
    void HandleSpawnPickup(sf::Packet& packet);
    // Whether another aircraft with this identifier fits: a new one, and room for it.
    bool AcceptsAircraft(std::int32_t identifier) const;
    void AddPlayer(std::int32_t identifier, const key_binding::KeyBinding* binding);
    bool IsLocal(std::int32_t identifier) const;
    void ReleaseRealtimeActions();
    void SetCentredText(sf::Text& text, const std::string& string);

    // Optional so that a reconnection can start a fresh field.
    std::optional<world::World> world;
    std::map<std::int32_t, std::unique_ptr<player::Player>> players;
    std::vector<std::int32_t> local_identifiers;
    notice_queue::NoticeQueue notices;
    // The players send through it, so it is replaced only after they are gone.
    std::unique_ptr<sf::TcpSocket> socket;
    network::PacketReader reader;
    std::unique_ptr<network::Connector> connector;
    network::TimeSource now;
    network::Connector::Connect connect;
    sf::Time last_status_time;
    sf::Time connection_start;
    // A server has no reason to spawn faster than this; more would only pile up.
    network::RateLimit enemy_spawns{10};
    network::RateLimit pickup_spawns{10};
    sf::Text notice_text;
    sf::Text spawn_prompt_text;
    sf::Text connection_text;
    sf::Time prompt_blink_time = sf::Time::Zero;
    sf::Time time_since_last_packet = sf::Time::Zero;
    sf::Time server_timeout = sf::seconds(2.f);
    std::string server_host;
    unsigned short server_port = network::SERVER_PORT;
    // Why the address file was not used, said on every connecting screen; empty when nothing is amiss.
    std::string address_note;
    // Reset first in the destructor: its thread must stop before the socket closes.
    std::unique_ptr<network::server::Server> server;
    sf::RenderWindow& window;
    bool connected = false;
    bool ever_connected = false;
    // The host's server could not listen: there is nothing to connect to.
    bool server_missing = false;
    bool host;
    bool game_started = false;
    bool active = true;
    bool has_focus = true;
    bool second_aircraft_requested = false;
    bool result_shown = false;
};

}  // namespace state::game::multiplayer
