#pragma once

#include "network/protocol.hpp"
#include "network/reusable_listener.hpp"

#include <SFML/Graphics/Rect.hpp>
#include <SFML/Network/Packet.hpp>
#include <SFML/Network/TcpSocket.hpp>
#include <SFML/System/Clock.hpp>
#include <SFML/System/Time.hpp>
#include <SFML/System/Vector2.hpp>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace network::server {

// A game uses the defaults; tests shorten the waits and watch the sends.
struct Settings_t {
    using Sender = std::function<SendResult(sf::TcpSocket&, const sf::Packet&)>;

    unsigned short port = SERVER_PORT;
    sf::Time client_timeout = sf::seconds(3.f);
    sf::Time enemy_spawn_interval = sf::seconds(2.f);
    // Called on the server thread for every message sent.
    Sender send = [](sf::TcpSocket& socket, const sf::Packet& packet) { return SendPacket(socket, packet); };
};

// The authority of a network game, running on a thread of its own from construction to
// destruction: hands out aircraft, relays input, moves the shared battlefield, spawns enemies and
// pickups and announces the mission's end. It shares nothing with its owner but the stop flag;
// clients, the host's own included, reach it only through their sockets.
class Server {
public:
    explicit Server(sf::Vector2f battlefield_size, const Settings_t& settings = Settings_t());
    ~Server();

    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;

private:
    struct AircraftRecord {
        sf::Vector2f position;
        std::int32_t hitpoints = 0;
        std::int32_t missile_ammo = 0;
        std::map<std::int32_t, bool> realtime_actions;
        std::int32_t type = 0;
    };

    struct RemotePeer {
        RemotePeer();

        sf::TcpSocket socket;
        sf::Time last_packet_time;
        std::vector<std::int32_t> aircraft_identifiers;
        bool ready = false;
        bool timed_out = false;
        // Part of a packet went out and the rest never will: nothing more may be sent to it.
        bool broken = false;

        bool Owns(std::int32_t identifier) const;
    };

    void ServerLoop();
    void Tick();
    sf::Time Now() const;
    void SetListening(bool enable);

    void ReceiveFromPeers();
    void ProcessMessage(sf::Packet& packet, RemotePeer& peer);
    void HandleOneShotAction(sf::Packet& packet, const RemotePeer& peer);
    void HandleRealtimeActionChange(sf::Packet& packet, const RemotePeer& peer);
    void HandleSecondAircraftRequest(RemotePeer& peer);
    void HandleAircraftStatus(sf::Packet& packet, const RemotePeer& peer);
    void HandleWorldEvent(sf::Packet& packet, const RemotePeer& peer);

    void AcceptConnection();
    std::int32_t CreateAircraft();
    void DropTimedOutPeers();
    void DropPeer(std::size_t index);
    void EnsureWaitingPeer();

    bool MissionComplete() const;
    void EraseDestroyedAircraft();
    void SpawnEnemies();

    void Send(RemotePeer& peer, const sf::Packet& packet);
    void SendWorldSnapshot(RemotePeer& peer);
    void SendNotice(const std::string& text);
    void SendToReadyPeers(const sf::Packet& packet, const RemotePeer* except = nullptr);
    void SendWorldStatus();
    void AnnounceAircraft(std::int32_t identifier, const RemotePeer* except = nullptr);

    sf::Vector2f SpawnPosition() const;
    float BattlefieldBottom() const;

    std::thread thread;
    std::map<std::int32_t, AircraftRecord> aircraft_records;
    std::vector<std::unique_ptr<RemotePeer>> peers;
    ReusableListener listener;
    sf::Clock clock;
    sf::Time client_timeout;
    sf::Time enemy_spawn_interval;
    sf::Time last_spawn_time;
    float world_height = 2500.f;
    float scroll_speed = -50.f;
    sf::FloatRect battlefield_rect;
    std::size_t aircraft_count = 0;
    std::size_t max_connected_players = 10;
    std::size_t connected_players = 0;
    std::int32_t next_aircraft_identifier = 1;
    std::atomic<bool> stop_requested = false;
    bool listening = false;
    unsigned short port;
    Settings_t::Sender send;
    // Some peer is marked timed_out and waits for DropTimedOutPeers.
    bool drop_pending = false;
};

}  // namespace network::server
