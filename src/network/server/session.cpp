#include "network/server.hpp"

#include "network/messages.hpp"
#include "random.hpp"

#include <SFML/System/Sleep.hpp>

#include <cassert>
#include <optional>
#include <string>

namespace network::server {

namespace {

const sf::Time STEP = sf::microseconds(16666);
const float STEP_SECONDS = static_cast<float>(STEP.asMicroseconds()) / 1000000.f;
const sf::Time TICK = sf::microseconds(50000);
const sf::Time LOOP_SLEEP = sf::milliseconds(50);

constexpr std::int32_t INITIAL_HITPOINTS = 100;
constexpr std::int32_t INITIAL_MISSILE_AMMO = 2;
constexpr float ENEMY_SPAWN_MARGIN = 100.f;
// A client flies one aircraft, or two on one keyboard.
constexpr std::size_t MAX_AIRCRAFT_PER_PEER = 2;
// A peer that floods the server is served in portions so that the loop keeps ticking for the rest.
constexpr int MAX_MESSAGES_PER_PEER_AND_PASS = 1000;

}  // namespace

Server::RemotePeer::RemotePeer() { socket.setBlocking(false); }

bool Server::RemotePeer::Owns(std::int32_t identifier) const {
    for (std::int32_t own : aircraft_identifiers)
        if (own == identifier) return true;
    return false;
}

Server::Server(sf::Vector2f battlefield_size, const Settings_t& settings)
    : client_timeout(settings.client_timeout),
      enemy_spawn_interval(settings.enemy_spawn_interval),
      battlefield_rect(0.f, world_height - battlefield_size.y, battlefield_size.x, battlefield_size.y),
      port(settings.port),
      send(settings.send) {
    // Enemy offsets are drawn from a quarter of the width either side; that range must not be empty.
    assert(battlefield_size.x >= 4.f && battlefield_size.y > 0.f);
    peers.push_back(std::make_unique<RemotePeer>());
    listener.setBlocking(false);
    // Listening before the thread runs lets the host connect right after construction.
    SetListening(true);
    // Last: the thread must never see a half-built server.
    thread = std::thread(&Server::ServerLoop, this);
}

Server::~Server() {
    stop_requested.exchange(true);
    thread.join();
}

void Server::ServerLoop() {
    SetListening(true);
    sf::Time step_accumulator = sf::Time::Zero;
    sf::Time tick_accumulator = sf::Time::Zero;
    sf::Clock step_clock;
    sf::Clock tick_clock;
    while (!stop_requested.load()) {
        ReceiveFromPeers();
        AcceptConnection();
        if (drop_pending) DropTimedOutPeers();

        step_accumulator += step_clock.restart();
        tick_accumulator += tick_clock.restart();
        // Whole microseconds, so the battlefield keeps its pace however the loop wakes up.
        for (; step_accumulator >= STEP; step_accumulator -= STEP) battlefield_rect.top += scroll_speed * STEP_SECONDS;
        for (; tick_accumulator >= TICK; tick_accumulator -= TICK) {
            Tick();
            if (drop_pending) DropTimedOutPeers();
        }
        sf::sleep(LOOP_SLEEP);
    }
}

void Server::Tick() {
    SendWorldStatus();
    // Repeated every tick while it holds: a client that missed one sees the next.
    if (MissionComplete()) SendToReadyPeers(WriteMissionComplete());
    EraseDestroyedAircraft();
    if (Now() >= last_spawn_time + enemy_spawn_interval) SpawnEnemies();
}

sf::Time Server::Now() const { return clock.getElapsedTime(); }

void Server::SetListening(bool enable) {
    if (enable) {
        if (!listening) listening = listener.ListenOnAnyAddress(port) == sf::Socket::Done;
    } else {
        listener.close();
        listening = false;
    }
}

// ---- Receiving ----

void Server::ReceiveFromPeers() {
    for (std::size_t i = 0; i < connected_players; ++i) {
        RemotePeer& peer = *peers[i];
        sf::Packet packet;
        // A peer on its way out has nothing more to say.
        for (int handled = 0; !peer.timed_out && handled < MAX_MESSAGES_PER_PEER_AND_PASS &&
                              peer.socket.receive(packet) == sf::Socket::Done;
             ++handled) {
            ProcessMessage(packet, peer);
            peer.last_packet_time = Now();
            packet.clear();
        }
        if (Now() >= peer.last_packet_time + client_timeout) {
            peer.timed_out = true;
            drop_pending = true;
        }
    }
    if (drop_pending) DropTimedOutPeers();
}

// Messages are applied whole or not at all: the readers refuse truncated or out-of-range packets.
void Server::ProcessMessage(sf::Packet& packet, RemotePeer& peer) {
    const std::optional<ClientMessage::t> type = ReadClientMessageType(packet);
    if (!type) return;
    switch (*type) {
    case ClientMessage::OneShotAction:
        HandleOneShotAction(packet, peer);
        break;
    case ClientMessage::Leave:
        peer.timed_out = true;
        drop_pending = true;
        break;
    case ClientMessage::RealtimeActionChange:
        HandleRealtimeActionChange(packet, peer);
        break;
    case ClientMessage::RequestSecondAircraft:
        HandleSecondAircraftRequest(peer);
        break;
    case ClientMessage::AircraftStatus:
        HandleAircraftStatus(packet, peer);
        break;
    case ClientMessage::WorldEvent:
        HandleWorldEvent(packet, peer);
        break;
    case ClientMessage::COUNT:
        break;
    }
}

// Each client speaks for its own aircraft only.
void Server::HandleOneShotAction(sf::Packet& packet, const RemotePeer& peer) {
    const std::optional<OneShotAction_t> message = ReadOneShotAction(packet);
    if (!message || !peer.Owns(message->identifier)) return;
    SendToReadyPeers(WriteServerOneShotAction(*message));
}

void Server::HandleRealtimeActionChange(sf::Packet& packet, const RemotePeer& peer) {
    const std::optional<RealtimeActionChange_t> message = ReadRealtimeActionChange(packet);
    if (!message || !peer.Owns(message->identifier)) return;
    // No record is made up here: an empty one would count as an aircraft at the top of the world.
    const auto record = aircraft_records.find(message->identifier);
    if (record != aircraft_records.end()) record->second.realtime_actions[message->action] = message->active;
    SendToReadyPeers(WriteServerRealtimeActionChange(*message));
}

void Server::HandleSecondAircraftRequest(RemotePeer& peer) {
    if (peer.aircraft_identifiers.size() >= MAX_AIRCRAFT_PER_PEER) return;
    const std::int32_t identifier = CreateAircraft();
    peer.aircraft_identifiers.push_back(identifier);
    const AircraftRecord& record = aircraft_records.at(identifier);
    Send(peer, WriteSecondAircraftAccepted({identifier, record.position, record.type}));
    AnnounceAircraft(identifier, &peer);
    ++aircraft_count;
}

void Server::HandleAircraftStatus(sf::Packet& packet, const RemotePeer& peer) {
    const std::optional<AircraftStatus_t> message = ReadAircraftStatus(packet);
    if (!message) return;
    for (const AircraftStatusEntry_t& entry : message->entries) {
        if (!peer.Owns(entry.identifier)) continue;
        // An aircraft erased at zero hitpoints comes back while its owner still reports it.
        AircraftRecord& record = aircraft_records[entry.identifier];
        record.position = entry.position;
        record.hitpoints = entry.hitpoints;
        record.missile_ammo = entry.missile_ammo;
    }
}

// Every client reports every explosion it sees; only the first peer's reports (the host's own
// client) decide, so each explosion yields one pickup decision.
void Server::HandleWorldEvent(sf::Packet& packet, const RemotePeer& peer) {
    const std::optional<action::NetAction> event = ReadWorldEvent(packet);
    if (!event || event->type != action::NetAction::EnemyExplosion || &peer != peers.front().get()) return;
    SendToReadyPeers(WriteSpawnPickup({RandomInt(0, PICKUP_TYPE_COUNT), event->position}));
}

// ---- Connections ----

void Server::AcceptConnection() {
    if (!listening) return;
    RemotePeer& peer = *peers[connected_players];
    if (listener.accept(peer.socket) != sf::Socket::Done) return;

    const std::int32_t identifier = CreateAircraft();
    const AircraftRecord& record = aircraft_records.at(identifier);
    const sf::Packet assignment = WriteAssignAircraft({identifier, record.position, record.type});
    peer.aircraft_identifiers.push_back(identifier);

    // The newcomer is not ready yet: the notice and the announcement reach the others only.
    SendNotice("New player!");
    SendWorldSnapshot(peer);
    AnnounceAircraft(identifier);
    peer.ready = true;
    peer.last_packet_time = Now();
    Send(peer, assignment);

    ++aircraft_count;
    ++connected_players;
    if (connected_players >= max_connected_players)
        SetListening(false);
    else
        EnsureWaitingPeer();
}

std::int32_t Server::CreateAircraft() {
    const std::int32_t identifier = next_aircraft_identifier++;
    AircraftRecord& record = aircraft_records[identifier];
    record.position = SpawnPosition();
    record.hitpoints = INITIAL_HITPOINTS;
    record.missile_ammo = INITIAL_MISSILE_AMMO;
    record.type = RandomInt(0, PLAYER_CHARACTER_TYPE_COUNT);
    return identifier;
}

void Server::DropTimedOutPeers() {
    // The messages of a drop may break further peers, earlier ones included.
    while (drop_pending) {
        drop_pending = false;
        for (std::size_t i = 0; i < connected_players;) {
            if (peers[i]->timed_out)
                DropPeer(i);
            else
                ++i;
        }
    }
}

void Server::DropPeer(std::size_t index) {
    const std::vector<std::int32_t> identifiers = peers[index]->aircraft_identifiers;
    // Still ready, so the peer hears of its own aircraft leaving too.
    for (std::int32_t identifier : identifiers) {
        SendToReadyPeers(WriteAircraftLeft(identifier));
        aircraft_records.erase(identifier);
    }
    --connected_players;
    aircraft_count -= identifiers.size();
    peers.erase(peers.begin() + static_cast<std::ptrdiff_t>(index));
    if (connected_players < max_connected_players) {
        EnsureWaitingPeer();
        SetListening(true);
    }
    SendNotice("An ally has disconnected.");
}

// One waiting peer behind the ready ones is all the listener ever needs.
void Server::EnsureWaitingPeer() {
    if (peers.size() == connected_players) peers.push_back(std::make_unique<RemotePeer>());
}

// ---- Ticks ----

// Success once every aircraft still flying has passed the top. Destroyed aircraft do not count,
// and with none flying there is no success to announce.
bool Server::MissionComplete() const {
    bool any_flying = false;
    for (const auto& [identifier, record] : aircraft_records) {
        if (record.hitpoints <= 0) continue;
        if (record.position.y > 0.f) return false;
        any_flying = true;
    }
    return any_flying;
}

void Server::EraseDestroyedAircraft() {
    std::erase_if(aircraft_records, [](const auto& entry) { return entry.second.hitpoints <= 0; });
}

// The order of the random draws is fixed: count, offset, spacing, then type and mirroring per enemy.
void Server::SpawnEnemies() {
    const int count = RandomInt(0, 2) + 1;
    const float distance = battlefield_rect.width * 0.25f;
    float offset = static_cast<float>(RandomInt(static_cast<int>(-distance), static_cast<int>(distance)));
    float spacing = 0.f;
    if (count == 2) {
        spacing = static_cast<float>(RandomInt(0, static_cast<int>(2.f * distance)));
        offset -= 0.5f * spacing;
    }
    for (int i = 0; i < count; ++i) {
        SpawnEnemy_t enemy;
        enemy.character_type = RandomInt(PLAYER_CHARACTER_TYPE_COUNT, CHARACTER_TYPE_COUNT);
        enemy.vertical_distance = world_height - battlefield_rect.top + ENEMY_SPAWN_MARGIN;
        enemy.horizontal_offset = offset;
        enemy.mirrored = RandomInt(0, 2) != 0;
        SendToReadyPeers(WriteSpawnEnemy(enemy));
        offset += spacing;
    }
    last_spawn_time = Now();
}

// ---- Sending ----

// Half a packet on the wire would garble everything after it, so such a peer is given up.
void Server::Send(RemotePeer& peer, const sf::Packet& packet) {
    if (peer.broken) return;
    if (send(peer.socket, packet) == SendResult::Broken) {
        peer.broken = true;
        peer.timed_out = true;
        drop_pending = true;
    }
}

// Aircraft destroyed meanwhile are left out: a client cannot add an aircraft without hitpoints.
void Server::SendWorldSnapshot(RemotePeer& peer) {
    WorldSnapshot_t snapshot;
    snapshot.world_height = world_height;
    snapshot.battlefield_bottom = BattlefieldBottom();
    for (std::size_t i = 0; i < connected_players; ++i) {
        for (std::int32_t identifier : peers[i]->aircraft_identifiers) {
            const auto found = aircraft_records.find(identifier);
            if (found == aircraft_records.end() || found->second.hitpoints <= 0) continue;
            const AircraftRecord& record = found->second;
            snapshot.entries.push_back({identifier, record.position, record.hitpoints, record.missile_ammo, record.type});
        }
    }
    Send(peer, WriteWorldSnapshot(snapshot));
}

void Server::SendNotice(const std::string& text) { SendToReadyPeers(WriteNotice(text)); }

void Server::SendToReadyPeers(const sf::Packet& packet, const RemotePeer* except) {
    for (std::size_t i = 0; i < connected_players; ++i)
        if (peers[i].get() != except) Send(*peers[i], packet);
}

void Server::SendWorldStatus() {
    WorldStatus_t status;
    status.battlefield_bottom = BattlefieldBottom();
    for (const auto& [identifier, record] : aircraft_records) status.entries.push_back({identifier, record.position});
    SendToReadyPeers(WriteWorldStatus(status));
}

void Server::AnnounceAircraft(std::int32_t identifier, const RemotePeer* except) {
    const AircraftRecord& record = aircraft_records.at(identifier);
    SendToReadyPeers(WriteAircraftJoined({identifier, record.position, record.type}), except);
}

sf::Vector2f Server::SpawnPosition() const {
    return {battlefield_rect.width * 0.5f, battlefield_rect.top + battlefield_rect.height * 0.5f};
}

float Server::BattlefieldBottom() const { return battlefield_rect.top + battlefield_rect.height; }

}  // namespace network::server
