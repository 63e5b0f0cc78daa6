#pragma once

#include "command/command.hpp"
#include "key_binding/key_binding.hpp"
#include "key_binding/player_action.hpp"

#include <SFML/Network/Packet.hpp>
#include <SFML/System/Vector2.hpp>
#include <SFML/Window/Event.hpp>

#include <array>
#include <map>

namespace sf {
class TcpSocket;
}

namespace player {

// Moves the aircraft with one identifier in one direction at that aircraft's top speed.
struct CharacterMover {
    void operator()(scene::SceneNode& node, sf::Time dt) const;

    sf::Vector2f velocity;
    int identifier;
};

// One player, local (keys) or remote (replays what the server relays), steering one aircraft.
class Player {
public:
    enum MissionStatus { MISSION_RUNNING, MISSION_SUCCESS, MISSION_FAILURE };

    Player(sf::TcpSocket* socket, int identifier, const key_binding::KeyBinding* binding);

    void HandleEvent(const sf::Event& event, command::CommandQueue& commands);
    void HandleRealtimeInput(command::CommandQueue& commands);
    void ApplyRemoteAction(key_binding::PlayerAction::t action, command::CommandQueue& commands);
    void SetRemoteRealtimeAction(key_binding::PlayerAction::t action, bool active);
    void ApplyRemoteRealtimeActions(command::CommandQueue& commands);
    // Tells the server that every relayed realtime action of this player is off; false when the
    // connection broke while sending.
    bool ReleaseAllRealtimeActions();
    bool IsLocal() const;
    void SetMissionStatus(MissionStatus status);
    MissionStatus GetMissionStatus() const { return mission_status; }
    int GetIdentifier() const { return identifier; }

private:
    void InitializeActions();
    bool Send(const sf::Packet& packet);
    void HandleOneShot(key_binding::PlayerAction::t action, command::CommandQueue& commands);
    void HandlePadEvent(const sf::Event& event, command::CommandQueue& commands);

    MissionStatus mission_status = MISSION_RUNNING;
    std::map<key_binding::PlayerAction::t, bool> action_proxies;
    std::map<key_binding::PlayerAction::t, command::Command> action_binding;
    const key_binding::KeyBinding* key_binding;
    sf::TcpSocket* socket;
    int identifier;
    // What the gamepad held when its last event came, so that the server hears only changes.
    std::array<bool, key_binding::PlayerAction::COUNT> pad_held{};
};

}  // namespace player
