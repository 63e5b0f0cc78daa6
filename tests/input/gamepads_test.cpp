#include "input/gamepads.hpp"
#include "input/menu_keys.hpp"
#include "input/pad_layout.hpp"
#include "key_binding/key_binding.hpp"
#include "network/messages.hpp"
#include "network/protocol.hpp"
#include "player/player.hpp"

#include <gtest/gtest.h>

#include <SFML/Network/SocketSelector.hpp>
#include <SFML/Network/TcpListener.hpp>
#include <SFML/Network/TcpSocket.hpp>

#include <map>
#include <set>
#include <string>

namespace {

using key_binding::PlayerAction;
using Actions = std::vector<PlayerAction::t>;

// Gamepads without a device: what each plugged-in pad holds is set by the test.
struct FakePads : input::PadSource {
    struct Pad_t {
        std::set<unsigned> buttons;
        std::map<sf::Joystick::Axis, float> axes;
    };
    bool IsConnected(unsigned pad) const override { return pads.count(pad) > 0; }
    bool IsButtonPressed(unsigned pad, unsigned button) const override { return pads.at(pad).buttons.count(button) > 0; }
    float AxisPosition(unsigned pad, sf::Joystick::Axis axis) const override {
        const auto& axes = pads.at(pad).axes;
        return axes.count(axis) ? axes.at(axis) : 0.f;
    }
    std::map<unsigned, Pad_t> pads;
};

sf::Event Connection(sf::Event::EventType type, unsigned pad) {
    sf::Event event{};
    event.type = type;
    event.joystickConnect.joystickId = pad;
    return event;
}

sf::Event Button(sf::Event::EventType type, unsigned pad, unsigned button) {
    sf::Event event{};
    event.type = type;
    event.joystickButton = {pad, button};
    return event;
}

sf::Event Moved(unsigned pad, sf::Joystick::Axis axis, float position) {
    sf::Event event{};
    event.type = sf::Event::JoystickMoved;
    event.joystickMove = {pad, axis, position};
    return event;
}

sf::Event Key(sf::Event::EventType type, sf::Keyboard::Key code) {
    sf::Event event{};
    event.type = type;
    event.key.code = code;
    return event;
}

class GamepadsTest : public ::testing::Test {
protected:
    GamepadsTest() {
        source.pads[0];
        gamepads.emplace(source);
        for (auto* binding : {&player_1, &player_2}) binding->SetGamepads(&*gamepads);
    }
    // Keeps the source and the pads' connection events in step.
    void Plug(unsigned pad) {
        source.pads[pad];
        gamepads->HandleEvent(Connection(sf::Event::JoystickConnected, pad));
    }
    void Unplug(unsigned pad) {
        source.pads.erase(pad);
        gamepads->HandleEvent(Connection(sf::Event::JoystickDisconnected, pad));
    }

    FakePads source;
    std::optional<input::Gamepads> gamepads;
    std::set<sf::Keyboard::Key> held_keys;
    key_binding::KeyBinding::HeldKeySource is_held = [this](sf::Keyboard::Key key) { return held_keys.count(key) > 0; };
    key_binding::KeyBinding player_1{1, is_held};
    key_binding::KeyBinding player_2{2, is_held};
};

TEST_F(GamepadsTest, SticksPastTheDeadZoneTheDpadAndAHoldActions) {
    using A = sf::Joystick::Axis;
    const struct {
        std::map<A, float> axes;
        std::set<unsigned> buttons;
        Actions held;
    } cases[] = {
        {{}, {}, {}},
        {{{A::X, -30.f}}, {}, {PlayerAction::MOVE_LEFT}},
        {{{A::X, -20.f}, {A::Y, 25.f}}, {}, {}},  // inside the dead zone: a stick at rest
        {{{A::X, 26.f}}, {}, {PlayerAction::MOVE_RIGHT}},
        {{{A::Y, -100.f}}, {}, {PlayerAction::MOVE_UP}},
        {{{A::X, -50.f}, {A::Y, 50.f}}, {}, {PlayerAction::MOVE_LEFT, PlayerAction::MOVE_DOWN}},
        {{{A::PovX, 100.f}}, {}, {PlayerAction::MOVE_RIGHT}},
        {{{A::PovX, -100.f}, {A::PovY, -100.f}}, {}, {PlayerAction::MOVE_LEFT, PlayerAction::MOVE_UP}},
        {{{A::PovY, 100.f}}, {}, {PlayerAction::MOVE_DOWN}},
        {{{A::Z, -100.f}, {A::R, 100.f}}, {}, {}},  // triggers and the right stick do nothing
        {{}, {input::PadButton::A}, {PlayerAction::FIRE}},
        {{}, {input::PadButton::B, input::PadButton::START}, {}},  // the missile is one-shot
    };
    for (const auto& c : cases) {
        source.pads[0] = {c.buttons, c.axes};
        EXPECT_EQ(player_1.GetRealtimeActions(), c.held) << testing::PrintToString(c.axes);
        EXPECT_EQ(player_2.GetRealtimeActions(), Actions{});  // one pad: player 1's
    }
    // Keys and pad together: each action once, the keys' first.
    held_keys = {sf::Keyboard::V, sf::Keyboard::W};
    source.pads[0] = {{input::PadButton::A}, {{A::X, -80.f}}};
    EXPECT_EQ(player_1.GetRealtimeActions(), (Actions{PlayerAction::FIRE, PlayerAction::MOVE_UP, PlayerAction::MOVE_LEFT}));
}

// First pad plays as player 1, second as player 2; a pad that leaves frees only its own place.
TEST_F(GamepadsTest, PadsComeAndGoWhileTheGameRuns) {
    Plug(4);
    EXPECT_EQ(gamepads->PadOf(0), 0u);
    EXPECT_EQ(gamepads->PadOf(1), 4u);
    source.pads[4].buttons = {input::PadButton::A};
    EXPECT_EQ(player_2.GetRealtimeActions(), Actions{PlayerAction::FIRE});
    EXPECT_EQ(player_1.GetRealtimeActions(), Actions{});

    Unplug(0);
    Plug(4);  // a repeated notice changes nothing
    EXPECT_EQ(gamepads->PadOf(0), std::nullopt);
    EXPECT_EQ(gamepads->PadOf(1), 4u);
    Plug(2);
    Plug(6);  // a third pad has no player
    EXPECT_EQ(gamepads->PadOf(0), 2u);
    EXPECT_EQ(gamepads->PadOf(1), 4u);

    // A pad gone without a notice holds nothing.
    source.pads.erase(4);
    EXPECT_EQ(player_2.GetRealtimeActions(), Actions{});
    // A button press counts for the player whose pad it is.
    EXPECT_EQ(player_1.CheckPadButton(Button(sf::Event::JoystickButtonPressed, 2, input::PadButton::B)),
              PlayerAction::LAUNCH_MISSILE);
    EXPECT_EQ(player_2.CheckPadButton(Button(sf::Event::JoystickButtonPressed, 2, input::PadButton::B)), std::nullopt);
    EXPECT_EQ(player_1.CheckPadButton(Button(sf::Event::JoystickButtonReleased, 2, input::PadButton::B)), std::nullopt);
}

TEST_F(GamepadsTest, AloneThePadsActionsGoStraightToTheAircraft) {
    player::Player player(nullptr, 1, &player_1);
    command::CommandQueue commands;
    player.HandleEvent(Button(sf::Event::JoystickButtonPressed, 1, input::PadButton::B), commands);  // not its pad
    player.HandleEvent(Button(sf::Event::JoystickButtonPressed, 0, input::PadButton::A), commands);  // fire is held
    EXPECT_EQ(commands.size(), 0u);
    player.HandleEvent(Button(sf::Event::JoystickButtonPressed, 0, input::PadButton::B), commands);
    EXPECT_EQ(commands.size(), 1u);
    source.pads[0] = {{input::PadButton::A}, {{sf::Joystick::X, 90.f}}};
    player.HandleRealtimeInput(commands);
    EXPECT_EQ(commands.size(), 3u);  // the missile, fire, move right
}

// In a network mission a pad's actions reach the server as the keys' do: one-shots as
// OneShotAction, realtime ones as changes, never twice while a key holds the same action.
TEST_F(GamepadsTest, OverTheNetworkThePadTalksLikeTheKeys) {
    sf::TcpListener listener;
    ASSERT_EQ(listener.listen(sf::Socket::AnyPort, sf::IpAddress::LocalHost), sf::Socket::Done);
    sf::TcpSocket client, server;
    ASSERT_EQ(client.connect(sf::IpAddress::LocalHost, listener.getLocalPort()), sf::Socket::Done);
    ASSERT_EQ(listener.accept(server), sf::Socket::Done);
    player::Player player(&client, 7, &player_1);
    command::CommandQueue commands;
    auto pad = [&](sf::Event event) {
        if (event.type == sf::Event::JoystickMoved) source.pads[0].axes[event.joystickMove.axis] = event.joystickMove.position;
        if (event.type == sf::Event::JoystickButtonPressed) source.pads[0].buttons.insert(event.joystickButton.button);
        if (event.type == sf::Event::JoystickButtonReleased) source.pads[0].buttons.erase(event.joystickButton.button);
        player.HandleEvent(event, commands);
    };
    pad(Moved(0, sf::Joystick::X, -80.f));
    pad(Moved(0, sf::Joystick::X, -90.f));  // still left: nothing new to say
    pad(Moved(0, sf::Joystick::X, 0.f));
    pad(Button(sf::Event::JoystickButtonPressed, 0, input::PadButton::B));
    held_keys = {sf::Keyboard::V};
    player.HandleEvent(Key(sf::Event::KeyPressed, sf::Keyboard::V), commands);
    pad(Button(sf::Event::JoystickButtonPressed, 0, input::PadButton::A));   // V already said fire
    pad(Button(sf::Event::JoystickButtonReleased, 0, input::PadButton::A));  // V still holds it
    pad(Button(sf::Event::JoystickButtonPressed, 0, input::PadButton::A));
    held_keys = {};
    player.HandleEvent(Key(sf::Event::KeyReleased, sf::Keyboard::V), commands);  // the pad still holds it
    pad(Moved(0, sf::Joystick::PovY, 100.f));
    Unplug(0);
    player.HandleEvent(Connection(sf::Event::JoystickDisconnected, 0), commands);
    network::SendPacket(client, network::WriteClientOneShotAction({-1, PlayerAction::FIRE}));  // the end

    std::vector<std::string> received;
    sf::SocketSelector selector;
    selector.add(server);
    for (sf::Packet packet; received.empty() || received.back() != "end";) {
        ASSERT_TRUE(selector.wait(sf::seconds(30)));
        ASSERT_EQ(server.receive(packet), sf::Socket::Done);
        const auto type = network::ReadClientMessageType(packet);
        if (type == network::ClientMessage::OneShotAction) {
            const auto message = network::ReadOneShotAction(packet).value();
            received.push_back(message.identifier < 0 ? "end" : "once " + std::to_string(message.action));
        } else {
            const auto change = network::ReadRealtimeActionChange(packet).value();
            received.push_back(std::to_string(change.identifier) + " " + std::to_string(change.action) +
                               (change.active ? " on" : " off"));
        }
    }
    EXPECT_EQ(received, (std::vector<std::string>{"7 0 on", "7 0 off", "once 5", "7 4 on", "7 3 on", "7 3 off", "7 4 off",
                                                  "end"}));
    EXPECT_EQ(commands.size(), 0u);  // everything waits for the server's relay
}

TEST(MenuKeysTest, TheDpadAndButtonsDriveMenusLikeKeys) {
    const struct {
        sf::Event event;
        std::optional<sf::Keyboard::Key> key;
    } cases[] = {
        {Key(sf::Event::KeyPressed, sf::Keyboard::X), sf::Keyboard::X},
        {Key(sf::Event::KeyReleased, sf::Keyboard::X), std::nullopt},
        {Button(sf::Event::JoystickButtonPressed, 3, input::PadButton::A), sf::Keyboard::Enter},
        {Button(sf::Event::JoystickButtonReleased, 3, input::PadButton::A), std::nullopt},
        {Button(sf::Event::JoystickButtonPressed, 0, input::PadButton::START), sf::Keyboard::Escape},
        {Button(sf::Event::JoystickButtonPressed, 0, input::PadButton::BACK), sf::Keyboard::BackSpace},
        {Button(sf::Event::JoystickButtonPressed, 0, input::PadButton::B), std::nullopt},  // B fires missiles
        {Moved(1, sf::Joystick::PovY, -100.f), sf::Keyboard::Up},
        {Moved(1, sf::Joystick::PovY, 100.f), sf::Keyboard::Down},
        {Moved(1, sf::Joystick::PovX, -100.f), sf::Keyboard::Left},
        {Moved(1, sf::Joystick::PovX, 100.f), sf::Keyboard::Right},
        {Moved(1, sf::Joystick::PovY, 0.f), std::nullopt},  // let go
        {Moved(1, sf::Joystick::Y, -100.f), std::nullopt},  // sticks fly, they do not choose
    };
    for (const auto& c : cases) EXPECT_EQ(input::MenuKeyOf(c.event), c.key) << c.event.type;
}

}  // namespace
