#pragma once

#include "network/protocol.hpp"
#include "network/reusable_listener.hpp"
#include "network/server/remote_peer.hpp"

#include <SFML/Network/Packet.hpp>
#include <SFML/Network/SocketSelector.hpp>
#include <SFML/System/Time.hpp>
#include <SFML/System/Vector2.hpp>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace network::server {

// A game uses the defaults; tests step the time, pick a free port and watch the sends.
struct Settings_t {
    using Sender = std::function<SendResult(sf::TcpSocket&, const sf::Packet&)>;

    // 0: a free port of the system's choosing, kept for the session's life (see Port).
    unsigned short port = SERVER_PORT;
    // Silence after which a peer is dropped; also the time a newcomer has for its first status.
    sf::Time client_timeout = sf::seconds(3.f);
    sf::Time enemy_spawn_interval = sf::seconds(2.f);
    // Empty: a clock started with the session.
    TimeSource now;
    // Called for every message sent. A peer that stopped reading holds the pass up to a few
    // milliseconds, far less than a tick, before it is given up.
    Sender send = [](sf::TcpSocket& socket, const sf::Packet& packet) {
        return SendPacket(socket, packet, sf::milliseconds(20));
    };
    // One line for a person when it listens, for each player that joins or leaves and for each
    // mission that ends.
    std::function<void(const std::string&)> report;
};

// The authority of a network game, one pass at a time: hands out aircraft, relays input, moves
// the shared battlefield, spawns enemies and pickups and announces the mission's end. A pass never
// waits and reads a bounded amount from each peer, so no peer can hold it up; the time comes from
// the settings' source, so the battlefield, the ticks and the timeouts follow that source alone.
// Clients, the host's own included, reach it only through their sockets.
//
// A mission starts with the first aircraft handed out and ends when it is complete or every
// aircraft is gone; its players then stay connected without a part in the game until they leave,
// and the next player starts a fresh one from the bottom of the world.
class Session {
public:
    // Listens at once: the host may connect right after construction.
    explicit Session(sf::Vector2f battlefield_size, const Settings_t& settings = Settings_t());

    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Takes what the peers sent, accepts a newcomer, drops the peers that must go, then moves the
    // battlefield in 1/60 s steps and ticks at 20 Hz as far as the time has come since the last pass.
    void Pass();
    // How long a pass may wait from now: until the next battlefield step or tick, whichever is due
    // first; zero when one is overdue.
    sf::Time UntilDue() const;
    // Waits up to `limit` for a newcomer or for data from a peer that may still send this tick;
    // true when one is there.
    bool Wait(sf::Time limit);
    // The port the game is served on: the settings' or, for 0, the one the system chose.
    unsigned short Port() const { return port; }
    // Why it could not listen, for a person; empty while it listens.
    const std::string& ListenFailure() const { return listener.Failure(); }

private:
    struct AircraftRecord {
        sf::Vector2f position;
        std::int32_t hitpoints = 0;
        std::int32_t missile_ammo = 0;
        std::map<std::int32_t, bool> realtime_actions;
        std::int32_t type = 0;
    };

    void Tick();
    sf::Time Now() const;
    void SetListening(bool enable);
    void Advance();
    void Report(const std::string& line) const;

    void ReceiveFromPeers();
    void ReceiveFrom(RemotePeer& peer);
    void MarkForDrop(RemotePeer& peer, const char* reason);
    void ProcessMessage(sf::Packet& packet, RemotePeer& peer);
    void HandleOneShotAction(sf::Packet& packet, RemotePeer& peer);
    void HandleRealtimeActionChange(sf::Packet& packet, RemotePeer& peer);
    void HandleSecondAircraftRequest(RemotePeer& peer);
    void HandleAircraftStatus(sf::Packet& packet, RemotePeer& peer);
    void HandleWorldEvent(sf::Packet& packet, RemotePeer& peer);
    // Whether the peer may have one more message of a limited kind; a peer far over is dropped.
    bool WithinLimit(RemotePeer& peer, RateLimit& limit);
    // The peer whose explosion reports decide pickups: the oldest that plays.
    const RemotePeer* PickupDecider() const;

    void AcceptConnection();
    std::int32_t CreateAircraft();
    void DropTimedOutPeers();
    void DropPeer(std::size_t index);
    void EnsureWaitingPeer();

    bool MissionComplete() const;
    void EraseDestroyedAircraft();
    void EndMission(const std::string& how);
    void SpawnEnemies();

    void Send(RemotePeer& peer, const sf::Packet& packet);
    void SendWorldSnapshot(RemotePeer& peer);
    void SendNotice(const std::string& text);
    void SendToReadyPeers(const sf::Packet& packet, const RemotePeer* except = nullptr);
    void SendWorldStatus();
    void AnnounceAircraft(std::int32_t identifier, const RemotePeer* except = nullptr);

    sf::Vector2f SpawnPosition() const;
    float BattlefieldBottom() const;

    std::map<std::int32_t, AircraftRecord> aircraft_records;
    std::vector<std::unique_ptr<RemotePeer>> peers;
    ReusableListener listener;
    sf::SocketSelector selector;
    TimeSource now;
    sf::Time client_timeout;
    sf::Time enemy_spawn_interval;
    sf::Time last_spawn_time;
    // The time of the last pass, and what of it the battlefield steps and the ticks have not used.
    sf::Time last_advance;
    sf::Time step_accumulator;
    sf::Time tick_accumulator;
    sf::Vector2f battlefield_size;
    float battlefield_top;
    std::size_t max_connected_players = MAX_PEERS;
    std::size_t connected_players = 0;
    std::int32_t next_aircraft_identifier = 1;
    bool listening = false;
    bool mission_started = false;
    unsigned short port;
    Settings_t::Sender send;
    std::function<void(const std::string&)> report;
    // Some peer is marked timed_out and waits for DropTimedOutPeers.
    bool drop_pending = false;
};

}  // namespace network::server
