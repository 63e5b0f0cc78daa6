#include "state/game/multiplayer.hpp"

#include "audio/music_player.hpp"
#include "input/menu_keys.hpp"
#include "network/messages.hpp"
#include "network/protocol.hpp"
#include "random.hpp"
#include "text_util.hpp"

#include <SFML/Graphics/RenderWindow.hpp>

#include <algorithm>
#include <fstream>

namespace state::game::multiplayer {

using ::game::character::Character;
using network::ServerMessage;

namespace {
const sf::Time status_interval = sf::seconds(1.f / 20.f);
const sf::Time connect_timeout = sf::seconds(1.f);
const sf::Time reconnect_period = sf::seconds(5.f);
const sf::Time notice_duration = sf::seconds(2.5f);
const char* const address_file = "ip.txt";
}  // namespace

sf::IpAddress ReadServerAddress(const std::string& file,
                                const std::function<sf::IpAddress(const std::string&)>& resolve) {
    std::string word;
    {
        std::ifstream input(file);
        input >> word;
    }
    if (word.empty()) {
        std::ofstream output(file, std::ios::trunc);
        output << "127.0.0.1";
        return sf::IpAddress::LocalHost;
    }
    const sf::IpAddress address = resolve(word);
    return address == sf::IpAddress::None ? sf::IpAddress::LocalHost : address;
}

MultiplayerState::MultiplayerState(StateStack& stack, const StateContext_t& context, bool host)
    : State(stack, context),
      world(std::in_place, *context.window, *context.fonts, *context.sounds, true),
      notice_text("", context.fonts->Get(holder::FontId::Main), 30),
      spawn_prompt_text("", context.fonts->Get(holder::FontId::Main), 30),
      connection_text("", context.fonts->Get(holder::FontId::Main), 30),
      window(*context.window),
      host(host) {
    const sf::Vector2f view_size = window.getView().getSize();
    notice_text.setPosition(view_size.x / 2.f, 40.f);
    SetCentredText(spawn_prompt_text, "Press Enter to spawn player");
    spawn_prompt_text.setPosition(view_size.x / 2.f, 20.f);
    SetCentredText(connection_text, "Attempting to connect...");
    connection_text.setPosition(view_size.x / 2.f, view_size.y / 2.f - 50.f);

    // Connecting blocks; show why the picture stands still meanwhile.
    window.clear(sf::Color::Black);
    window.draw(connection_text);
    window.display();
    SetCentredText(connection_text, "Could not connect to the remote server!");

    if (host)
        server = std::make_unique<network::server::Server>(view_size);
    else
        server_address = ReadServerAddress(address_file);

    connection_clock.restart();
    TryConnect();
    context.music->Play(MusicId::GameOverMusic);
}

MultiplayerState::~MultiplayerState() { server.reset(); }

void MultiplayerState::SetCentredText(sf::Text& text, const std::string& string) {
    text.setString(string);
    CenterOrigin(text);
}

void MultiplayerState::TryConnect() {
    socket.setBlocking(true);
    const bool done = socket.connect(server_address, network::SERVER_PORT, connect_timeout) == sf::Socket::Done;
    socket.setBlocking(false);
    if (done) StartSession();
}

void MultiplayerState::StartSession() {
    // A reconnection is a new game: nothing of the old session's aircraft or players survives.
    if (game_started || !players.empty()) {
        players.clear();
        local_identifiers.clear();
        game_started = false;
        second_aircraft_requested = false;
        world.reset();
        world.emplace(*context.window, *context.fonts, *context.sounds, true);
    }
    connected = true;
    time_since_last_packet = sf::Time::Zero;
}

void MultiplayerState::ConnectionLost() {
    connected = false;
    socket.disconnect();
    SetCentredText(connection_text, "Lost connection to server");
    connection_clock.restart();
}

bool MultiplayerState::Send(const sf::Packet& packet) {
    if (network::SendPacket(socket, packet) != network::SendResult::Broken) return true;
    ConnectionLost();
    return false;
}

bool MultiplayerState::Update(sf::Time dt) {
    if (!connected) {
        if (connection_clock.getElapsedTime() <= reconnect_period) {
            TryConnect();
        } else {
            RequestStackClear();
            RequestStackPush(StateId::Menu);
        }
        return true;
    }

    world->Update(dt);
    bool any_local = false;
    const bool everyone_gone = ErasePlayersWithoutAircraft(any_local);
    // Either reason ends the mission; one result screen is enough when both hold at once.
    if (everyone_gone || (!any_local && game_started)) RequestStackPush(StateId::MissionFailed);

    if (active && has_focus)
        for (auto& [identifier, player] : players) player->HandleRealtimeInput(world->GetCommandQueue());
    for (auto& [identifier, player] : players) player->ApplyRemoteRealtimeActions(world->GetCommandQueue());

    ReceiveMessage();
    if (!connected) return true;
    UpdateNotice(dt);
    prompt_blink_time += dt;
    if (prompt_blink_time > sf::seconds(1.f)) prompt_blink_time = sf::Time::Zero;
    SendWorldEvents();
    if (status_clock.getElapsedTime() > status_interval) {
        SendStatus();
        status_clock.restart();
    }
    time_since_last_packet += dt;
    return true;
}

bool MultiplayerState::ErasePlayersWithoutAircraft(bool& any_local) {
    bool everyone_gone = false;
    for (auto it = players.begin(); it != players.end();) {
        const std::int32_t identifier = it->first;
        if (std::find(local_identifiers.begin(), local_identifiers.end(), identifier) != local_identifiers.end())
            any_local = true;
        if (world->GetCharacter(identifier)) {
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

void MultiplayerState::ReceiveMessage() {
    sf::Packet packet;
    const sf::Socket::Status status = socket.receive(packet);
    if (status == sf::Socket::Done) {
        time_since_last_packet = sf::Time::Zero;
        if (const auto type = network::ReadServerMessageType(packet)) HandlePacket(*type, packet);
    } else if (time_since_last_packet > server_timeout) {
        ConnectionLost();
    }
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
            if (const auto message = network::ReadSpawnPickup(packet))
                world->CreatePickup(static_cast<::game::pickup::Pickup::Type>(message->pickup_type), message->position);
            break;
        case ServerMessage::WorldStatus:
            HandleWorldStatus(packet);
            break;
        case ServerMessage::MissionComplete:
            RequestStackPush(StateId::MissionSuccess);
            break;
        default:
            break;
    }
}

void MultiplayerState::HandleNotice(sf::Packet& packet) {
    const auto text = network::ReadNotice(packet);
    if (!text) return;
    notices.push_back(*text);
    if (notices.size() == 1) {
        SetCentredText(notice_text, *text);
        notice_time = sf::Time::Zero;
    }
}

void MultiplayerState::AddPlayer(std::int32_t identifier, const key_binding::KeyBinding* binding) {
    players[identifier] = std::make_unique<player::Player>(&socket, identifier, binding);
}

void MultiplayerState::HandleAircraftPlacement(std::int32_t type, sf::Packet& packet) {
    const auto message = type == ServerMessage::AssignAircraft   ? network::ReadAssignAircraft(packet)
                         : type == ServerMessage::AircraftJoined ? network::ReadAircraftJoined(packet)
                                                                 : network::ReadSecondAircraftAccepted(packet);
    if (!message) return;
    Character* aircraft =
        world->AddCharacter(message->identifier, static_cast<Character::Type>(message->character_type));
    aircraft->setPosition(message->position);

    if (type == ServerMessage::AircraftJoined) {
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
        if (entry.hitpoints <= 0) continue;
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
    if (!message) return;
    world->AddEnemy(static_cast<Character::Type>(message->character_type), message->horizontal_offset,
                    message->vertical_distance, message->mirrored);
    world->SortEnemies();
}

void MultiplayerState::HandleWorldStatus(sf::Packet& packet) {
    const auto status = network::ReadWorldStatus(packet);
    if (!status) return;
    const sf::FloatRect view = world->GetViewBounds();
    // The server's battlefield reaches the top of the world after about 50 s: no division by ~0.
    if (status->battlefield_bottom >= 1.f)
        world->SetWorldScrollCompensation((view.top + view.height) / status->battlefield_bottom);
    for (const network::WorldStatusEntry_t& entry : status->entries) {
        const bool local = std::find(local_identifiers.begin(), local_identifiers.end(), entry.identifier) !=
                           local_identifiers.end();
        Character* aircraft = world->GetCharacter(entry.identifier);
        if (aircraft && !local) aircraft->setPosition(entry.position);
    }
}

void MultiplayerState::UpdateNotice(sf::Time dt) {
    if (notices.empty()) return;
    notice_time += dt;
    if (notice_time <= notice_duration) return;
    notices.erase(notices.begin());
    if (!notices.empty()) {
        SetCentredText(notice_text, notices.front());
        notice_time = sf::Time::Zero;
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

bool MultiplayerState::IsSpawnPromptVisible() const {
    return local_identifiers.size() <= 1 && prompt_blink_time < sf::seconds(0.5f);
}

void MultiplayerState::Draw() {
    if (!connected) {
        window.draw(connection_text);
        return;
    }
    world->Draw();
    if (!notices.empty()) window.draw(notice_text);
    if (IsSpawnPromptVisible()) window.draw(spawn_prompt_text);
}

}  // namespace state::game::multiplayer
