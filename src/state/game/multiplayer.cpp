#include "state/game/multiplayer.hpp"

#include "audio/music_player.hpp"
#include "input/menu_keys.hpp"
#include "network/address_file.hpp"
#include "network/messages.hpp"
#include "util/random.hpp"
#include "util/text_util.hpp"

#include <SFML/Graphics/RenderWindow.hpp>

#include <algorithm>
#include <set>

namespace state::game::multiplayer {

using ::game::character::Character;
using network::ServerMessage;

namespace {
const sf::Time status_interval = sf::seconds(1.f / 20.f);
const sf::Time reconnect_period = sf::seconds(5.f);
// Generous: a backlog of a stalled second is taken in one update.
constexpr std::size_t receive_budget = 256 * 1024;
constexpr int max_messages_per_update = 1024;
// Enemies waiting for the view to reach them; a server's spawns are met within a second.
constexpr std::size_t max_pending_enemies = 32;
}  // namespace

MultiplayerState::MultiplayerState(StateStack& owner, const StateContext_t& shared_context, bool hosting, Options_t options)
    : State(owner, shared_context),
      world(std::in_place, *shared_context.window, *shared_context.fonts, *shared_context.sounds, true),
      now(options.now ? options.now : network::StartClock()),
      connect(options.connect ? options.connect : network::Connector::ConnectOverTcp),
      notice_text("", shared_context.fonts->Get(holder::FontId::Main), 30),
      spawn_prompt_text("", shared_context.fonts->Get(holder::FontId::Main), 30),
      connection_text("", shared_context.fonts->Get(holder::FontId::Main), 30),
      window(*shared_context.window),
      host(hosting) {
    const sf::Vector2f view_size = window.getView().getSize();
    notice_text.setPosition(view_size.x / 2.f, 40.f);
    SetCentredText(spawn_prompt_text, "Press Enter to spawn player");
    spawn_prompt_text.setPosition(view_size.x / 2.f, 20.f);
    connection_text.setPosition(view_size.x / 2.f, view_size.y / 2.f - 50.f);

    network::ServerAddress_t address{"127.0.0.1", network::SERVER_PORT, ""};
    if (hosting) {
        server = std::make_unique<network::server::Server>(view_size);
        // Another server on the port would take the host in as a guest of its game.
        server_missing = server->Port() == 0;
    } else {
        address = network::ReadAddressFile(options.address_file);
        if (!address.problem.empty()) address_note = address.problem + "\n";
    }
    server_host = address.host;
    server_port = address.port;
    connection_start = now();
    shared_context.music->Play(MusicId::GameOverMusic);
    if (server_missing) {
        SetCentredText(connection_text, server->ListenFailure());
        server.reset();
        return;
    }
    // A name as long as a file can hold must not fill the screen.
    const std::string shown = address_note + "Connecting to " + address.Shown().substr(0, 40);
    connection_text.setString(sf::String::fromUtf8(shown.begin(), shown.end()) + sf::String(L"\u2026"));
    CenterOrigin(connection_text);
    connector = std::make_unique<network::Connector>(server_host, server_port, connect);
}

MultiplayerState::~MultiplayerState() { server.reset(); }

void MultiplayerState::SetCentredText(sf::Text& text, const std::string& string) {
    text.setString(string);
    CenterOrigin(text);
}

// One attempt at a time; the next starts when one has failed, until the period is over.
void MultiplayerState::UpdateConnecting() {
    if (connector && connector->Finished()) {
        std::unique_ptr<sf::TcpSocket> opened = connector->Take();
        connector.reset();
        if (opened) return StartSession(std::move(opened));
        if (!ever_connected) SetCentredText(connection_text, address_note + "Could not connect to the remote server!");
    }
    if (connector) return;
    if (now() - connection_start > reconnect_period) {
        RequestStackClear();
        RequestStackPush(StateId::Menu);
    } else if (!server_missing) {
        connector = std::make_unique<network::Connector>(server_host, server_port, connect);
    }
}

void MultiplayerState::StartSession(std::unique_ptr<sf::TcpSocket> opened) {
    // A reconnection is a new game: nothing of the old session's aircraft or players survives.
    if (ever_connected) {
        players.clear();
        local_identifiers.clear();
        game_started = false;
        second_aircraft_requested = false;
        world.reset();
        world.emplace(*context.window, *context.fonts, *context.sounds, true);
    }
    socket = std::move(opened);
    reader = network::PacketReader();
    connected = true;
    ever_connected = true;
    time_since_last_packet = sf::Time::Zero;
    last_status_time = now();
}

void MultiplayerState::ConnectionLost() {
    connected = false;
    socket->disconnect();
    SetCentredText(connection_text, "Lost connection to server");
    connection_start = now();
}

bool MultiplayerState::Send(const sf::Packet& packet) {
    if (network::SendPacket(*socket, packet) != network::SendResult::Broken) return true;
    ConnectionLost();
    return false;
}

// One result screen: the state beneath it stops updating, and a repeated announcement must not
// stack a second one.
void MultiplayerState::ShowResult(StateId result) {
    if (result_shown) return;
    result_shown = true;
    RequestStackPush(result);
}

bool MultiplayerState::Update(sf::Time dt) {
    if (!connected) {
        UpdateConnecting();
        return true;
    }

    world->Update(dt);
    bool any_local = false;
    const bool everyone_gone = ErasePlayersWithoutAircraft(any_local);
    if (everyone_gone || (!any_local && game_started)) ShowResult(StateId::MissionFailed);

    if (active && has_focus)
        for (auto& [identifier, player] : players) player->HandleRealtimeInput(world->GetCommandQueue());
    for (auto& [identifier, player] : players) player->ApplyRemoteRealtimeActions(world->GetCommandQueue());

    ReceiveMessages();
    if (!connected) return true;
    if (notices.Update(dt)) SetCentredText(notice_text, notices.Front());
    prompt_blink_time += dt;
    if (prompt_blink_time > PROMPT_BLINK_TIME + PROMPT_BLINK_TIME) prompt_blink_time = sf::Time::Zero;
    SendWorldEvents();
    if (connected && now() - last_status_time > status_interval) {
        SendStatus();
        last_status_time = now();
    }
    time_since_last_packet += dt;
    return true;
}

bool MultiplayerState::ErasePlayersWithoutAircraft(bool& any_local) {
    std::set<std::int32_t> flying;
    for (const Character* aircraft : world->GetPlayerCharacters()) flying.insert(aircraft->GetIdentifier());
    bool everyone_gone = false;
    for (auto it = players.begin(); it != players.end();) {
        const std::int32_t identifier = it->first;
        any_local = any_local || IsLocal(identifier);
        if (flying.contains(identifier)) {
            ++it;
            continue;
        }
        it = players.erase(it);
        std::erase(local_identifiers, identifier);
        everyone_gone = everyone_gone || players.empty();
    }
    return everyone_gone;
}

void MultiplayerState::SendWorldEvents() {
    network::action::NetAction action;
    while (world->PollGameAction(action))
        if (!Send(network::WriteWorldEvent(action))) return;
}

void MultiplayerState::SendStatus() {
    network::AircraftStatus_t status;
    for (std::int32_t identifier : local_identifiers) {
        if (const Character* aircraft = world->GetCharacter(identifier))
            status.entries.push_back(
                {identifier, aircraft->getPosition(), aircraft->GetHitpoints(), aircraft->GetMissileAmmo()});
    }
    Send(network::WriteAircraftStatus(status));
}

// Everything that has arrived, so a burst never leaves the game behind, within a budget, so that
// no server can hold the game in one update.
void MultiplayerState::ReceiveMessages() {
    std::size_t budget = receive_budget;
    sf::Packet packet;
    for (int handled = 0; handled < max_messages_per_update && !result_shown; ++handled) {
        const network::PacketReader::Result result = reader.Receive(*socket, packet, budget);
        if (result == network::PacketReader::Result::TooLarge) return ConnectionLost();
        if (result != network::PacketReader::Result::Packet) break;
        time_since_last_packet = sf::Time::Zero;
        if (const auto type = network::ReadServerMessageType(packet)) HandlePacket(*type, packet);
    }
    if (time_since_last_packet > server_timeout) ConnectionLost();
}

void MultiplayerState::HandlePacket(std::int32_t type, sf::Packet& packet) {
    command::CommandQueue& commands = world->GetCommandQueue();
    switch (type) {
        case ServerMessage::Notice:
            HandleNotice(packet);
            break;
        case ServerMessage::AssignAircraft:
        case ServerMessage::AircraftJoined:
        case ServerMessage::SecondAircraftAccepted:
            HandleAircraftPlacement(type, packet);
            break;
        case ServerMessage::WorldSnapshot:
            HandleWorldSnapshot(packet);
            break;
        case ServerMessage::OneShotAction:
            if (const auto message = network::ReadOneShotAction(packet)) {
                const auto found = players.find(message->identifier);
                if (found != players.end()) found->second->ApplyRemoteAction(message->action, commands);
            }
            break;
        case ServerMessage::RealtimeActionChange:
            if (const auto message = network::ReadRealtimeActionChange(packet)) {
                const auto found = players.find(message->identifier);
                if (found != players.end()) found->second->SetRemoteRealtimeAction(message->action, message->active);
            }
            break;
        case ServerMessage::AircraftLeft:
            if (const auto identifier = network::ReadAircraftLeft(packet)) {
                world->RemoveCharacter(*identifier);
                players.erase(*identifier);
            }
            break;
        case ServerMessage::SpawnEnemy:
            HandleSpawnEnemy(packet);
            break;
        case ServerMessage::SpawnPickup:
            HandleSpawnPickup(packet);
            break;
        case ServerMessage::WorldStatus:
            HandleWorldStatus(packet);
            break;
        case ServerMessage::MissionComplete:
            ShowResult(StateId::MissionSuccess);
            break;
        default:
            break;
    }
}

void MultiplayerState::HandleNotice(sf::Packet& packet) {
    auto text = network::ReadNotice(packet);
    if (text && notices.Push(std::move(*text))) SetCentredText(notice_text, notices.Front());
}

bool MultiplayerState::AcceptsAircraft(std::int32_t identifier) const {
    return !players.contains(identifier) && players.size() < network::MAX_AIRCRAFT;
}

void MultiplayerState::AddPlayer(std::int32_t identifier, const key_binding::KeyBinding* binding) {
    players[identifier] = std::make_unique<player::Player>(socket.get(), identifier, binding);
}

bool MultiplayerState::IsLocal(std::int32_t identifier) const {
    return std::find(local_identifiers.begin(), local_identifiers.end(), identifier) != local_identifiers.end();
}

void MultiplayerState::HandleAircraftPlacement(std::int32_t type, sf::Packet& packet) {
    const auto message = type == ServerMessage::AssignAircraft   ? network::ReadAssignAircraft(packet)
                         : type == ServerMessage::AircraftJoined ? network::ReadAircraftJoined(packet)
                                                                 : network::ReadSecondAircraftAccepted(packet);
    const bool local = type != ServerMessage::AircraftJoined;
    if (!message || !AcceptsAircraft(message->identifier) ||
        (local && local_identifiers.size() >= network::MAX_AIRCRAFT_PER_PEER))
        return;
    Character* aircraft =
        world->AddCharacter(message->identifier, static_cast<Character::Type>(message->character_type));
    aircraft->setPosition(message->position);

    if (!local) {
        AddPlayer(message->identifier, nullptr);
        return;
    }
    const bool first = type == ServerMessage::AssignAircraft;
    AddPlayer(message->identifier, first ? context.key_binding_1 : context.key_binding_2);
    local_identifiers.push_back(message->identifier);
    if (first) {
        game_started = true;
        context.music->Play(MusicId::MissionMusic);
    }
}

void MultiplayerState::HandleWorldSnapshot(sf::Packet& packet) {
    const auto snapshot = network::ReadWorldSnapshot(packet);
    if (!snapshot) return;
    world->SetWorldHeight(snapshot->world_height);
    world->SetCurrentBattleFieldPosition(snapshot->battlefield_bottom);
    for (const network::SnapshotEntry_t& entry : snapshot->entries) {
        // A dead or exploding aircraft has nothing to show and could not hold zero hitpoints.
        if (entry.hitpoints <= 0 || !AcceptsAircraft(entry.identifier)) continue;
        Character* aircraft = world->AddCharacter(entry.identifier, static_cast<Character::Type>(entry.character_type));
        aircraft->setPosition(entry.position);
        aircraft->SetHitpoints(entry.hitpoints);
        aircraft->SetMissileAmmo(entry.missile_ammo);
        AddPlayer(entry.identifier, nullptr);
    }
}

void MultiplayerState::HandleSpawnEnemy(sf::Packet& packet) {
    // Every spawn consumes one draw, as the shared random sequence expects.
    const bool default_mirrored = RandomInt(0, 2) != 0;
    (void)default_mirrored;
    const auto message = network::ReadSpawnEnemy(packet);
    if (!message || world->GetSpawnPoints().size() >= max_pending_enemies || !enemy_spawns.Allow(now())) return;
    world->AddEnemy(static_cast<Character::Type>(message->character_type), message->horizontal_offset,
                    message->vertical_distance, message->mirrored);
    world->SortEnemies();
}

// Enemies explode where this client sees them too: a pickup far from the view would never be
// collected nor leave.
void MultiplayerState::HandleSpawnPickup(sf::Packet& packet) {
    const auto message = network::ReadSpawnPickup(packet);
    if (!message) return;
    sf::FloatRect near = world->GetBattlefieldBounds();
    near.top -= near.height;
    near.height *= 3.f;
    if (!near.contains(message->position) || !pickup_spawns.Allow(now())) return;
    world->CreatePickup(static_cast<::game::pickup::Pickup::Type>(message->pickup_type), message->position);
}

void MultiplayerState::HandleWorldStatus(sf::Packet& packet) {
    const auto status = network::ReadWorldStatus(packet);
    if (!status) return;
    const sf::FloatRect view = world->GetViewBounds();
    // The server's battlefield reaches the top of the world after about 50 s: no division by ~0.
    if (status->battlefield_bottom >= 1.f)
        world->SetWorldScrollCompensation((view.top + view.height) / status->battlefield_bottom);
    std::map<std::int32_t, Character*> aircraft_by_identifier;
    for (Character* aircraft : world->GetPlayerCharacters()) aircraft_by_identifier.emplace(aircraft->GetIdentifier(), aircraft);
    for (const network::WorldStatusEntry_t& entry : status->entries) {
        const auto found = aircraft_by_identifier.find(entry.identifier);
        if (found != aircraft_by_identifier.end() && !IsLocal(entry.identifier)) found->second->setPosition(entry.position);
    }
}

bool MultiplayerState::HandleEvent(const sf::Event& event) {
    if (connected)
        for (auto& [identifier, player] : players) player->HandleEvent(event, world->GetCommandQueue());

    if (event.type == sf::Event::KeyPressed && event.key.code == sf::Keyboard::Return) {
        if (connected && local_identifiers.size() == 1 && !second_aircraft_requested) {
            Send(network::WriteRequestSecondAircraft());
            second_aircraft_requested = true;
        }
    } else if (input::MenuKeyOf(event) == sf::Keyboard::Escape) {
        ReleaseRealtimeActions();
        active = false;
        RequestStackPush(StateId::NetworkPause);
    } else if (event.type == sf::Event::GainedFocus) {
        has_focus = true;
    } else if (event.type == sf::Event::LostFocus) {
        // A key released elsewhere never reaches us: tell the others it is up now.
        ReleaseRealtimeActions();
        has_focus = false;
    }
    return true;
}

void MultiplayerState::ReleaseRealtimeActions() {
    if (!connected) return;
    for (std::int32_t identifier : local_identifiers) {
        const auto found = players.find(identifier);
        if (found != players.end() && !found->second->ReleaseAllRealtimeActions()) {
            ConnectionLost();
            return;
        }
    }
}

void MultiplayerState::OnActivate() { active = true; }

void MultiplayerState::OnDestroy() {
    if (!host && connected) Send(network::WriteLeave());
}

std::string MultiplayerState::GetNotice() const { return notices.Empty() ? "" : notices.Front(); }

bool MultiplayerState::IsSpawnPromptVisible() const {
    return local_identifiers.size() <= 1 && prompt_blink_time < PROMPT_BLINK_TIME;
}

void MultiplayerState::Draw() {
    if (!connected) {
        window.draw(connection_text);
        return;
    }
    world->Draw();
    if (!notices.Empty()) window.draw(notice_text);
    if (IsSpawnPromptVisible()) window.draw(spawn_prompt_text);
}

}  // namespace state::game::multiplayer
