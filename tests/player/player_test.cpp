#include "player/player.hpp"

#include "game/character.hpp"
#include "input/gamepads.hpp"
#include "input/pad_layout.hpp"
#include "network/messages.hpp"
#include "network/protocol.hpp"
#include "support/helpers.hpp"
#include "support/net_packets.hpp"

#include <tuple>

namespace {

using game::character::Character;
using key_binding::PlayerAction;
using test::KeyPress;
using test::KeyRelease;
using E = sf::Event;

// Two player aircraft (identifiers 1 and 2) in a tree, so commands can be delivered for real.
class PlayerTest : public test::FieldTest {
protected:
    PlayerTest() {
        for (const int id : {1, 2}) {
            aircraft[id] = &Attach(std::make_unique<Character>(Character::AlliedHeavy, textures, fonts));
            aircraft[id]->SetIdentifier(id);
        }
    }

    Character* aircraft[3] = {};
    std::set<sf::Keyboard::Key> held;
    key_binding::KeyBinding binding{1, [this](sf::Keyboard::Key key) { return held.count(key) > 0; }};
};

TEST_F(PlayerTest, KeysQueueCommandsForTheirOwnAircraftOnly) {
    player::Player player(nullptr, 1, &binding);
    player.HandleEvent(KeyPress(sf::Keyboard::B), commands);
    player.HandleEvent(KeyRelease(sf::Keyboard::B), commands);
    player.HandleEvent(KeyPress(sf::Keyboard::V), commands);  // fire comes from held keys only
    EXPECT_EQ(commands.size(), 1u);
    held = {sf::Keyboard::A, sf::Keyboard::W, sf::Keyboard::B};  // a held B launches nothing more
    player.HandleRealtimeInput(commands);
    EXPECT_EQ(commands.size(), 3u);
    Deliver();
    const float speed = aircraft[1]->GetMaxSpeed();
    EXPECT_EQ(aircraft[1]->GetVelocity(), sf::Vector2f(-speed, -speed));
    EXPECT_EQ(aircraft[1]->GetMissileAmmo(), 1);
    EXPECT_EQ(aircraft[2]->GetVelocity(), sf::Vector2f());
    EXPECT_EQ(aircraft[2]->GetMissileAmmo(), 2);
}

// A player whose connection ends in this process, to read what it sends.
class NetworkPlayerTest : public PlayerTest {
protected:
    using Message = std::tuple<int, int, int, bool>;  // type, identifier, action, active

    // What the player has sent since the last look.
    std::vector<Message> Heard() {
        std::vector<Message> heard;
        for (sf::Packet packet; sockets.far->receive(packet) == sf::Socket::Done;) {
            if (network::ReadClientMessageType(packet) == one_shot) {
                const auto message = network::ReadOneShotAction(packet).value();
                heard.emplace_back(one_shot, message.identifier, message.action, false);
            } else {
                const auto message = network::ReadRealtimeActionChange(packet).value();
                heard.emplace_back(change, message.identifier, message.action, message.active);
            }
        }
        return heard;
    }

    static constexpr int one_shot = network::ClientMessage::OneShotAction;
    static constexpr int change = network::ClientMessage::RealtimeActionChange;
    test::net::SocketPair_t sockets = test::net::MakeSocketPair();
    sf::TcpSocket& client = *sockets.near;
};

// One-shots, from keys and pad alike, go to the server first and run when it relays them;
// realtime actions report each edge once, never while the keys or the pad still hold them.
TEST_F(NetworkPlayerTest, TheServerHearsOneShotsAndEachEdgeOfTheKeysAndThePadAndRemotePlayersReplayThem) {
    test::FakePads source;
    input::Gamepads gamepads{(source.pads[0], source)};
    binding.SetGamepads(&gamepads);
    player::Player player(&client, 4, &binding);
    auto& pad = source.pads[0];
    // The keyboard's or the pad's state changes before its event arrives.
    const auto send = [&](const E& event) {
        if (event.type == E::JoystickMoved) pad.axes[event.joystickMove.axis] = event.joystickMove.position;
        if (event.type == E::JoystickButtonPressed) pad.buttons.insert(event.joystickButton.button);
        if (event.type == E::JoystickButtonReleased) pad.buttons.erase(event.joystickButton.button);
        if (event.type == E::KeyPressed) held.insert(event.key.code);
        if (event.type == E::KeyReleased) held.erase(event.key.code);
        player.HandleEvent(event, commands);
    };
    const unsigned a = input::PadButton::A, b = input::PadButton::B;
    for (const E& event : {KeyPress(sf::Keyboard::B), KeyPress(sf::Keyboard::A), KeyRelease(sf::Keyboard::A),
                           test::PadEvent(E::JoystickMoved, 0, sf::Joystick::X, -80.f),
                           test::PadEvent(E::JoystickMoved, 0, sf::Joystick::X, -90.f),  // still left
                           test::PadEvent(E::JoystickMoved, 0, sf::Joystick::X, 0.f),
                           test::PadEvent(E::JoystickButtonPressed, 0, b), KeyPress(sf::Keyboard::V),
                           test::PadEvent(E::JoystickButtonPressed, 0, a),   // V already said fire
                           test::PadEvent(E::JoystickButtonReleased, 0, a),  // V still holds it
                           test::PadEvent(E::JoystickButtonPressed, 0, a),
                           KeyRelease(sf::Keyboard::V),  // the pad still holds it
                           test::PadEvent(E::JoystickMoved, 0, sf::Joystick::PovY, 100.f)})
        send(event);
    source.pads.erase(0);
    gamepads.HandleEvent(test::PadEvent(E::JoystickDisconnected, 0));
    send(test::PadEvent(E::JoystickDisconnected, 0));
    EXPECT_TRUE(commands.empty());
    const auto edge = [](PlayerAction::t action, bool on) { return Message{change, 4, action, on}; };
    const Message missile{one_shot, 4, PlayerAction::LAUNCH_MISSILE, false};
    EXPECT_EQ(Heard(), (std::vector<Message>{missile, edge(PlayerAction::MOVE_LEFT, true),
                                             edge(PlayerAction::MOVE_LEFT, false), edge(PlayerAction::MOVE_LEFT, true),
                                             edge(PlayerAction::MOVE_LEFT, false), missile, edge(PlayerAction::FIRE, true),
                                             edge(PlayerAction::MOVE_DOWN, true), edge(PlayerAction::MOVE_DOWN, false),
                                             edge(PlayerAction::FIRE, false)}));

    // Letting go of everything sends off for every action heard of, in action order.
    player.SetRemoteRealtimeAction(PlayerAction::FIRE, false);
    player.SetRemoteRealtimeAction(PlayerAction::MOVE_LEFT, true);
    EXPECT_TRUE(player.ReleaseAllRealtimeActions());
    EXPECT_EQ(Heard(), (std::vector<Message>{edge(PlayerAction::MOVE_LEFT, false), edge(PlayerAction::FIRE, false)}));

    // Another machine's player, with no keys of its own, replays only the realtime actions that are on.
    player::Player remote(&client, 2, nullptr);
    remote.SetRemoteRealtimeAction(PlayerAction::FIRE, true);
    remote.SetRemoteRealtimeAction(PlayerAction::MOVE_UP, false);
    remote.SetRemoteRealtimeAction(PlayerAction::LAUNCH_MISSILE, true);
    remote.HandleRealtimeInput(commands);
    remote.ApplyRemoteRealtimeActions(commands);
    EXPECT_EQ(commands.size(), 1u);  // fire only, and none from keys
}

}  // namespace
