#include "network/server/session.hpp"

#include "network/messages.hpp"
#include "util/random.hpp"

#include <algorithm>
#include <cassert>
#include <optional>
#include <string>

namespace network::server {

namespace {

const sf::Time STEP = sf::microseconds(rules::STEP_MICROSECONDS);
const sf::Time TICK = sf::microseconds(50000);

constexpr std::int32_t INITIAL_HITPOINTS = 100;
constexpr std::int32_t INITIAL_MISSILE_AMMO = 2;
constexpr float ENEMY_SPAWN_MARGIN = 100.f;
// What one peer may hand the server in one tick: a flooding peer is served in portions, and the
// server moves on to the others and to the tick. A legitimate client sends a few hundred bytes.
constexpr std::size_t RECEIVE_BUDGET = 16 * 1024;

}  // namespace

Session::Session(sf::Vector2f field_size, const Settings_t& settings)
    : now(settings.now ? settings.now : StartClock()),
      client_timeout(settings.client_timeout),
      enemy_spawn_interval(settings.enemy_spawn_interval),
      battlefield_size(field_size),
      battlefield_top(rules::WORLD_HEIGHT - field_size.y),
      port(settings.port),
      send(settings.send),
      report(settings.report) {
    // Enemy offsets are drawn from a quarter of the width either side; that range must not be empty.
    assert(field_size.x >= 4.f && field_size.y > 0.f);
    peers.push_back(std::make_unique<RemotePeer>());
    listener.setBlocking(false);
    SetListening(true);
    // Said before any newcomer can be.
    if (listening) Report("Kirrow server listening on port " + std::to_string(port));
    last_advance = Now();
}

void Session::Pass() {
    ReceiveFromPeers();
    AcceptConnection();
    DropTimedOutPeers();
    Advance();
}

// Whole microseconds, so the battlefield keeps its pace however the passes come.
void Session::Advance() {
    const sf::Time current = Now();
    step_accumulator += current - last_advance;
    tick_accumulator += current - last_advance;
    last_advance = current;
    // Far past the top nothing happens any more; it stops where what it sends is still readable.
    for (; step_accumulator >= STEP; step_accumulator -= STEP)
        battlefield_top = std::max(battlefield_top + rules::SCROLL_SPEED * STEP.asSeconds(), -MAX_COORDINATE / 2.f);
    for (; tick_accumulator >= TICK; tick_accumulator -= TICK) {
        Tick();
        DropTimedOutPeers();
        for (const auto& peer : peers) peer->receive_allowance = RECEIVE_BUDGET;
    }
}

sf::Time Session::UntilDue() const {
    const sf::Time due = std::min(STEP - step_accumulator, TICK - tick_accumulator) - (Now() - last_advance);
    return std::max(due, sf::Time::Zero);
}

bool Session::Wait(sf::Time limit) {
    selector.clear();
    if (listening) selector.add(listener);
    for (std::size_t i = 0; i < connected_players; ++i)
        if (peers[i]->receive_allowance > 0) selector.add(peers[i]->socket);
    // SFML waits forever on zero.
    return selector.wait(std::max(limit, sf::microseconds(1)));
}

void Session::Tick() {
    SendWorldStatus();
    if (MissionComplete()) {
        SendToReadyPeers(WriteMissionComplete());
        EndMission("Mission complete");
    }
    EraseDestroyedAircraft();
    if (mission_started && aircraft_records.empty()) EndMission("Every aircraft is gone");
    if (Now() >= last_spawn_time + enemy_spawn_interval) SpawnEnemies();
}

sf::Time Session::Now() const { return now(); }

void Session::Report(const std::string& line) const {
    if (report) report(line);
}

void Session::SetListening(bool enable) {
    if (!enable) {
        listener.close();
        listening = false;
    } else if (!listening) {
        listening = listener.ListenOnAnyAddress(port) == sf::Socket::Done;
        // A port of the system's choosing stays the game's port when listening resumes.
        if (listening) port = listener.getLocalPort();
    }
}

// ---- Receiving ----

void Session::ReceiveFromPeers() {
    for (std::size_t i = 0; i < connected_players; ++i) ReceiveFrom(*peers[i]);
    DropTimedOutPeers();
}

void Session::ReceiveFrom(RemotePeer& peer) {
    sf::Packet packet;
    // A peer on its way out has nothing more to say.
    while (!peer.timed_out) {
        const PacketReader::Result result = peer.reader.Receive(peer.socket, packet, peer.receive_allowance);
        if (result == PacketReader::Result::Packet) {
            ProcessMessage(packet, peer);
            peer.last_packet_time = Now();
            continue;
        }
        // Nothing of a packet that size was buffered, and nothing after it can be read.
        if (result == PacketReader::Result::TooLarge) MarkForDrop(peer, "announced a packet too large");
        // Its socket would wake every wait until it is gone.
        if (result == PacketReader::Result::Closed) MarkForDrop(peer, "closed the connection");
        break;
    }
    // A newcomer that never reports its aircraft only holds a join slot.
    if (!peer.reported && Now() >= peer.assigned_time + client_timeout) MarkForDrop(peer, "never reported its aircraft");
    if (Now() >= peer.last_packet_time + client_timeout) MarkForDrop(peer, "fell silent");
}

// The first reason given is the one that counts.
void Session::MarkForDrop(RemotePeer& peer, const char* reason) {
    if (!peer.timed_out) peer.drop_reason = reason;
    peer.timed_out = true;
    drop_pending = true;
}

// Messages are applied whole or not at all: the readers refuse truncated or out-of-range packets.
void Session::ProcessMessage(sf::Packet& packet, RemotePeer& peer) {
    const std::optional<ClientMessage::t> type = ReadClientMessageType(packet);
    if (!type) return;
    switch (*type) {
    case ClientMessage::OneShotAction:
        HandleOneShotAction(packet, peer);
        break;
    case ClientMessage::Leave:
        MarkForDrop(peer, "left");
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

bool Session::WithinLimit(RemotePeer& peer, RateLimit& limit) {
    if (limit.Allow(Now())) return true;
    if (limit.Abusive()) MarkForDrop(peer, "flooded the game");
    return false;
}

// Each client speaks for its own aircraft only.
void Session::HandleOneShotAction(sf::Packet& packet, RemotePeer& peer) {
    const std::optional<OneShotAction_t> message = ReadOneShotAction(packet);
    if (!message || !peer.Owns(message->identifier) || !WithinLimit(peer, peer.one_shot_actions)) return;
    SendToReadyPeers(WriteServerOneShotAction(*message));
}

void Session::HandleRealtimeActionChange(sf::Packet& packet, RemotePeer& peer) {
    const std::optional<RealtimeActionChange_t> message = ReadRealtimeActionChange(packet);
    if (!message || !peer.Owns(message->identifier) || !WithinLimit(peer, peer.realtime_changes)) return;
    // No record is made up here: an empty one would count as an aircraft at the top of the world.
    const auto record = aircraft_records.find(message->identifier);
    if (record != aircraft_records.end()) record->second.realtime_actions[message->action] = message->active;
    SendToReadyPeers(WriteServerRealtimeActionChange(*message));
}

// A player of a finished mission has no aircraft to fly beside.
void Session::HandleSecondAircraftRequest(RemotePeer& peer) {
    if (peer.aircraft_identifiers.empty() || peer.aircraft_identifiers.size() >= MAX_AIRCRAFT_PER_PEER) return;
    const std::int32_t identifier = CreateAircraft();
    peer.aircraft_identifiers.push_back(identifier);
    const AircraftRecord& record = aircraft_records.at(identifier);
    Send(peer, WriteSecondAircraftAccepted({identifier, record.position, record.type}));
    AnnounceAircraft(identifier, &peer);
}

void Session::HandleAircraftStatus(sf::Packet& packet, RemotePeer& peer) {
    const std::optional<AircraftStatus_t> message = ReadAircraftStatus(packet);
    if (!message) return;
    peer.reported = true;
    for (const AircraftStatusEntry_t& entry : message->entries) {
        if (!peer.Owns(entry.identifier)) continue;
        // An aircraft erased at zero hitpoints comes back while its owner still reports it.
        AircraftRecord& record = aircraft_records[entry.identifier];
        record.position = entry.position;
        record.hitpoints = entry.hitpoints;
        record.missile_ammo = entry.missile_ammo;
    }
}

// Every client reports every explosion it sees; only one client's reports decide, so each
// explosion yields one pickup decision.
void Session::HandleWorldEvent(sf::Packet& packet, RemotePeer& peer) {
    const std::optional<action::NetAction> event = ReadWorldEvent(packet);
    if (!event || event->type != action::NetAction::EnemyExplosion || &peer != PickupDecider() ||
        !WithinLimit(peer, peer.world_events))
        return;
    SendToReadyPeers(WriteSpawnPickup({RandomInt(0, PICKUP_TYPE_COUNT), event->position}));
}

// The host's own client connects first; a dedicated server has none, and the role passes on in
// the order of arrival. A squatter or a finished mission's player has no say.
const RemotePeer* Session::PickupDecider() const {
    for (std::size_t i = 0; i < connected_players; ++i)
        if (peers[i]->reported && !peers[i]->aircraft_identifiers.empty()) return peers[i].get();
    return nullptr;
}

// ---- Connections ----

void Session::AcceptConnection() {
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
    peer.assigned_time = Now();
    peer.receive_allowance = RECEIVE_BUDGET;
    peer.address = peer.socket.getRemoteAddress().toString();
    Send(peer, assignment);

    ++connected_players;
    Report("Player joined from " + peer.address + " (aircraft " + std::to_string(identifier) +
           "); " + std::to_string(connected_players) + " connected");
    if (connected_players >= max_connected_players)
        SetListening(false);
    else
        EnsureWaitingPeer();
}

std::int32_t Session::CreateAircraft() {
    // The first aircraft of a mission starts it at the bottom of the world, however long the
    // server has been waiting.
    if (!mission_started) {
        mission_started = true;
        battlefield_top = rules::WORLD_HEIGHT - battlefield_size.y;
        last_spawn_time = Now();
    }
    const std::int32_t identifier = next_aircraft_identifier++;
    AircraftRecord& record = aircraft_records[identifier];
    record.position = SpawnPosition();
    record.hitpoints = INITIAL_HITPOINTS;
    record.missile_ammo = INITIAL_MISSILE_AMMO;
    record.type = RandomInt(0, PLAYER_CHARACTER_TYPE_COUNT);
    return identifier;
}

void Session::DropTimedOutPeers() {
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

void Session::DropPeer(std::size_t index) {
    const std::vector<std::int32_t> identifiers = peers[index]->aircraft_identifiers;
    std::string line = "Player from " + peers[index]->address + " " + peers[index]->drop_reason;
    // Still ready, so the peer hears of its own aircraft leaving too.
    for (std::int32_t identifier : identifiers) {
        SendToReadyPeers(WriteAircraftLeft(identifier));
        aircraft_records.erase(identifier);
        line += (identifier == identifiers.front() ? " (aircraft " : ", ") + std::to_string(identifier);
    }
    --connected_players;
    peers.erase(peers.begin() + static_cast<std::ptrdiff_t>(index));
    if (connected_players < max_connected_players) {
        EnsureWaitingPeer();
        SetListening(true);
    }
    Report(line + (identifiers.empty() ? "" : ")") + "; " + std::to_string(connected_players) + " connected");
    // The players of a finished mission leave unnoticed: the others never flew with them.
    if (!identifiers.empty()) SendNotice("An ally has disconnected.");
}

// One waiting peer behind the ready ones is all the listener ever needs.
void Session::EnsureWaitingPeer() {
    if (peers.size() == connected_players) peers.push_back(std::make_unique<RemotePeer>());
}

// ---- Ticks ----

// Success once every aircraft still flying has passed the top. Destroyed aircraft do not count,
// and with none flying there is no success to announce.
bool Session::MissionComplete() const {
    bool any_flying = false;
    for (const auto& [identifier, record] : aircraft_records) {
        if (record.hitpoints <= 0) continue;
        if (record.position.y > 0.f) return false;
        any_flying = true;
    }
    return any_flying;
}

void Session::EraseDestroyedAircraft() {
    std::erase_if(aircraft_records, [](const auto& entry) { return entry.second.hitpoints <= 0; });
}

// Its clients show the result and go; whatever they still say of their aircraft counts no more.
void Session::EndMission(const std::string& how) {
    mission_started = false;
    aircraft_records.clear();
    for (std::size_t i = 0; i < connected_players; ++i) peers[i]->aircraft_identifiers.clear();
    Report(how + ": the next player starts a fresh battlefield");
}

// The order of the random draws is fixed: count, offset, spacing, then type and mirroring per enemy.
void Session::SpawnEnemies() {
    const int count = RandomInt(0, 2) + 1;
    const float distance = battlefield_size.x * 0.25f;
    float offset = static_cast<float>(RandomInt(static_cast<int>(-distance), static_cast<int>(distance)));
    float spacing = 0.f;
    if (count == 2) {
        spacing = static_cast<float>(RandomInt(0, static_cast<int>(2.f * distance)));
        offset -= 0.5f * spacing;
    }
    for (int i = 0; i < count; ++i) {
        SpawnEnemy_t enemy;
        enemy.character_type = RandomInt(PLAYER_CHARACTER_TYPE_COUNT, CHARACTER_TYPE_COUNT);
        enemy.vertical_distance = rules::WORLD_HEIGHT - battlefield_top + ENEMY_SPAWN_MARGIN;
        enemy.horizontal_offset = offset;
        enemy.mirrored = RandomInt(0, 2) != 0;
        SendToReadyPeers(WriteSpawnEnemy(enemy));
        offset += spacing;
    }
    last_spawn_time = Now();
}

// ---- Sending ----

// Half a packet on the wire would garble everything after it, so such a peer is given up.
void Session::Send(RemotePeer& peer, const sf::Packet& packet) {
    if (peer.broken) return;
    if (send(peer.socket, packet) == SendResult::Broken) {
        peer.broken = true;
        MarkForDrop(peer, "stopped reading");
    }
}

// Aircraft destroyed meanwhile are left out: a client cannot add an aircraft without hitpoints.
void Session::SendWorldSnapshot(RemotePeer& peer) {
    WorldSnapshot_t snapshot;
    snapshot.world_height = rules::WORLD_HEIGHT;
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

void Session::SendNotice(const std::string& text) { SendToReadyPeers(WriteNotice(text)); }

void Session::SendToReadyPeers(const sf::Packet& packet, const RemotePeer* except) {
    for (std::size_t i = 0; i < connected_players; ++i)
        if (peers[i].get() != except) Send(*peers[i], packet);
}

void Session::SendWorldStatus() {
    WorldStatus_t status;
    status.battlefield_bottom = BattlefieldBottom();
    for (const auto& [identifier, record] : aircraft_records) status.entries.push_back({identifier, record.position});
    SendToReadyPeers(WriteWorldStatus(status));
}

void Session::AnnounceAircraft(std::int32_t identifier, const RemotePeer* except) {
    const AircraftRecord& record = aircraft_records.at(identifier);
    SendToReadyPeers(WriteAircraftJoined({identifier, record.position, record.type}), except);
}

sf::Vector2f Session::SpawnPosition() const {
    return {battlefield_size.x * 0.5f, battlefield_top + battlefield_size.y * 0.5f};
}

float Session::BattlefieldBottom() const { return battlefield_top + battlefield_size.y; }

}  // namespace network::server
