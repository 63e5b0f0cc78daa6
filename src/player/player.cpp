#include "player/player.hpp"

#include "game/character.hpp"
#include "network/messages.hpp"
#include "network/protocol.hpp"

#include <SFML/Network/TcpSocket.hpp>

namespace player {

using game::character::Character;
using key_binding::PlayerAction;

void CharacterMover::operator()(scene::SceneNode& node, sf::Time) const {
    auto& character = static_cast<Character&>(node);
    if (character.GetIdentifier() == identifier) character.Accelerate(velocity * character.GetMaxSpeed());
}

Player::Player(sf::TcpSocket* peer_socket, int player_identifier, const key_binding::KeyBinding* binding)
    : key_binding(binding), socket(peer_socket), identifier(player_identifier) {
    InitializeActions();
    for (auto& [action, command] : action_binding) command.category = scene::Category::PLAYER_CHARACTER;
}

void Player::InitializeActions() {
    action_binding[PlayerAction::MOVE_LEFT].action = CharacterMover{{-1.f, 0.f}, identifier};
    action_binding[PlayerAction::MOVE_RIGHT].action = CharacterMover{{1.f, 0.f}, identifier};
    action_binding[PlayerAction::MOVE_UP].action = CharacterMover{{0.f, -1.f}, identifier};
    action_binding[PlayerAction::MOVE_DOWN].action = CharacterMover{{0.f, 1.f}, identifier};
    const int id = identifier;
    action_binding[PlayerAction::FIRE].action = command::DerivedAction<Character>([id](Character& character, sf::Time) {
        if (character.GetIdentifier() == id) character.Fire();
    });
    action_binding[PlayerAction::LAUNCH_MISSILE].action =
        command::DerivedAction<Character>([id](Character& character, sf::Time) {
            if (character.GetIdentifier() == id) character.LaunchMissile();
        });
}

bool Player::Send(const sf::Packet& packet) {
    return network::SendPacket(*socket, packet) != network::SendResult::Broken;
}

void Player::HandleEvent(const sf::Event& event, command::CommandQueue& commands) {
    if (!key_binding) return;
    if (event.type >= sf::Event::JoystickButtonPressed && event.type <= sf::Event::JoystickDisconnected)
        return HandlePadEvent(event, commands);
    const bool pressed = event.type == sf::Event::KeyPressed;
    if (!pressed && event.type != sf::Event::KeyReleased) return;
    const auto action = key_binding->CheckAction(event.key.code);
    if (!action) return;

    if (!key_binding::IsRealtimeAction(*action)) {
        if (pressed) HandleOneShot(*action, commands);
    } else if (socket && !pad_held[*action]) {
        // While the pad holds the action too, the server keeps hearing it held.
        Send(network::WriteClientRealtimeActionChange({identifier, *action, pressed}));
    }
}

void Player::HandleOneShot(PlayerAction::t action, command::CommandQueue& commands) {
    if (socket)
        Send(network::WriteClientOneShotAction({identifier, action}));
    else
        commands.push(action_binding[action]);
}

// Pad actions take the keys' road: one-shots as a key press would, realtime changes reported
// when the pad's state changes, unless the action's key keeps it held anyway.
void Player::HandlePadEvent(const sf::Event& event, command::CommandQueue& commands) {
    if (const auto action = key_binding->CheckPadButton(event)) HandleOneShot(*action, commands);
    const auto held = key_binding->GetPadActions();
    for (std::size_t i = 0; i < PlayerAction::COUNT; ++i) {
        const auto action = static_cast<PlayerAction::t>(i);
        if (!key_binding::IsRealtimeAction(action) || held[i] == pad_held[i]) continue;
        pad_held[i] = held[i];
        if (socket && !key_binding->IsActionKeyHeld(action))
            Send(network::WriteClientRealtimeActionChange({identifier, action, held[i]}));
    }
}

void Player::HandleRealtimeInput(command::CommandQueue& commands) {
    if (!key_binding) return;
    for (PlayerAction::t action : key_binding->GetRealtimeActions()) commands.push(action_binding[action]);
}

void Player::ApplyRemoteAction(PlayerAction::t action, command::CommandQueue& commands) {
    commands.push(action_binding.at(action));
}

void Player::SetRemoteRealtimeAction(PlayerAction::t action, bool active) { action_proxies[action] = active; }

void Player::ApplyRemoteRealtimeActions(command::CommandQueue& commands) {
    if (!socket || key_binding) return;
    for (const auto& [action, active] : action_proxies)
        if (active && key_binding::IsRealtimeAction(action)) commands.push(action_binding[action]);
}

bool Player::ReleaseAllRealtimeActions() {
    bool connected = true;
    for (const auto& entry : action_proxies)
        connected = Send(network::WriteClientRealtimeActionChange({identifier, entry.first, false})) && connected;
    return connected;
}

bool Player::IsLocal() const { return key_binding != nullptr; }

void Player::SetMissionStatus(MissionStatus status) { mission_status = status; }

}  // namespace player
