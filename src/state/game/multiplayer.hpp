#pragma once

#include "network/server.hpp"
#include "player/player.hpp"
#include "state/state.hpp"
#include "world/world.hpp"

#include <SFML/Graphics/Text.hpp>
#include <SFML/Network/IpAddress.hpp>
#include <SFML/Network/TcpSocket.hpp>
#include <SFML/System/Clock.hpp>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace sf {
class RenderWindow;
}

namespace state::game::multiplayer {

// Reads the server address from the first word of `file`. A missing file or one without a word
// is (re)written to hold the loopback address; a word that does not resolve is left in the file
// for the user to fix, and the loopback address is used this time.
// `resolve` turns a word into an address (None when it cannot), replaceable for tests.
sf::IpAddress ReadServerAddress(const std::string& file,
                                const std::function<sf::IpAddress(const std::string&)>& resolve =
                                    [](const std::string& word) { return sf::IpAddress(word); });

// The network mission and its client: hosts (optionally) and joins a server, runs a networked
// world, drives the local aircraft and replays the others.
class MultiplayerState : public State {
public:
    MultiplayerState(StateStack& stack, const StateContext_t& context, bool host);
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
    bool IsSpawnPromptVisible() const;

private:
    void TryConnect();
    void StartSession();
    void ConnectionLost();
    bool Send(const sf::Packet& packet);
    // Drops players whose aircraft is gone; true when that left no player at all.
    bool ErasePlayersWithoutAircraft(bool& any_local);
    void SendStatus();
    void SendWorldEvents();
    void ReceiveMessage();
    void HandlePacket(std::int32_t type, sf::Packet& packet);
    void HandleAircraftPlacement(std::int32_t type, sf::Packet& packet);
    void HandleWorldSnapshot(sf::Packet& packet);
    void HandleWorldStatus(sf::Packet& packet);
    void HandleNotice(sf::Packet& packet);
    void HandleSpawnEnemy(sf::Packet& packet);
    void AddPlayer(std::int32_t identifier, const key_binding::KeyBinding* binding);
    void UpdateNotice(sf::Time dt);
    void ReleaseRealtimeActions();
    void SetCentredText(sf::Text& text, const std::string& string);

    // Optional so that a reconnection can start a fresh field.
    std::optional<world::World> world;
    std::map<std::int32_t, std::unique_ptr<player::Player>> players;
    std::vector<std::int32_t> local_identifiers;
    std::vector<std::string> notices;
    sf::TcpSocket socket;
    sf::Clock status_clock;
    sf::Clock connection_clock;
    sf::Text notice_text;
    sf::Text spawn_prompt_text;
    sf::Text connection_text;
    sf::Time notice_time = sf::Time::Zero;
    sf::Time prompt_blink_time = sf::Time::Zero;
    sf::Time time_since_last_packet = sf::Time::Zero;
    sf::Time server_timeout = sf::seconds(2.f);
    sf::IpAddress server_address = sf::IpAddress::LocalHost;
    // Reset first in the destructor: its thread must stop before the socket closes.
    std::unique_ptr<network::server::Server> server;
    sf::RenderWindow& window;
    bool connected = false;
    bool host;
    bool game_started = false;
    bool active = true;
    bool has_focus = true;
    bool second_aircraft_requested = false;
};

}  // namespace state::game::multiplayer
