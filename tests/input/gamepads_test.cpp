#include "input/gamepads.hpp"
#include "input/menu_keys.hpp"
#include "input/pad_layout.hpp"
#include "key_binding/key_binding.hpp"
#include "network/messages.hpp"
#include "network/protocol.hpp"
#include "player/player.hpp"

#include <fmt/format.h>
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
using E = sf::Event;
using Axis = sf::Joystick::Axis;
constexpr unsigned A = input::PadButton::A, B = input::PadButton::B;

// Gamepads without a device: what each plugged-in pad holds is set by the test.
struct FakePads : input::PadSource {
    struct Pad_t {
        std::set<unsigned> buttons;
        std::map<Axis, float> axes;
    };
    bool IsConnected(unsigned pad) const override { return pads.count(pad) > 0; }
    bool IsButtonPressed(unsigned pad, unsigned button) const override {
        return pads.at(pad).buttons.count(button) > 0;
    }
    float AxisPosition(unsigned pad, Axis axis) const override {
        const auto& axes = pads.at(pad).axes;
        return axes.count(axis) ? axes.at(axis) : 0.f;
    }
    std::map<unsigned, Pad_t> pads;
};

// A key event, or a pad event: `code` is the button or the axis (connections use only the pad).
E Event(E::EventType type, unsigned pad_or_key, unsigned code = 0, float position = 0.f) {
    E event{};
    event.type = type;
    if (type == E::KeyPressed || type == E::KeyReleased) event.key.code = static_cast<sf::Keyboard::Key>(pad_or_key);
    if (type == E::JoystickMoved) event.joystickMove = {pad_or_key, static_cast<Axis>(code), position};
    if (type == E::JoystickButtonPressed || type == E::JoystickButtonReleased) event.joystickButton = {pad_or_key, code};
    if (type == E::JoystickConnected || type == E::JoystickDisconnected) event.joystickConnect = {pad_or_key};
    return event;
}

class GamepadsTest : public ::testing::Test {
protected:
    GamepadsTest() {
        for (auto* binding : {&player_1, &player_2}) binding->SetGamepads(&gamepads);
    }
    // Keeps the source and the pads' connection notices in step.
    void Plug(unsigned pad) {
        source.pads[pad];
        gamepads.HandleEvent(Event(E::JoystickConnected, pad));
    }
    void Unplug(unsigned pad) {
        source.pads.erase(pad);
        gamepads.HandleEvent(Event(E::JoystickDisconnected, pad));
    }

    FakePads source;
    input::Gamepads gamepads{(source.pads[0], source)};  // pad 0 is there from the start
    std::set<int> held_keys;
    key_binding::KeyBinding::HeldKeySource is_held = [this](sf::Keyboard::Key key) { return held_keys.count(key) > 0; };
    key_binding::KeyBinding player_1{1, is_held};
    key_binding::KeyBinding player_2{2, is_held};
};

TEST_F(GamepadsTest, SticksPastTheDeadZoneTheDpadAndAHoldActions) {
    const struct {
        std::map<Axis, float> axes;
        std::set<unsigned> buttons;
        Actions held;
    } cases[] = {
        {{{Axis::X, -30.f}}, {}, {PlayerAction::MOVE_LEFT}},
        {{{Axis::X, -20.f}, {Axis::Y, 25.f}}, {}, {}},  // inside the dead zone: a stick at rest
        {{{Axis::X, 26.f}}, {}, {PlayerAction::MOVE_RIGHT}},
        {{{Axis::X, -50.f}, {Axis::Y, 50.f}}, {}, {PlayerAction::MOVE_LEFT, PlayerAction::MOVE_DOWN}},
        {{{Axis::PovX, 100.f}, {Axis::PovY, -100.f}}, {}, {PlayerAction::MOVE_RIGHT, PlayerAction::MOVE_UP}},
        {{{Axis::Z, -100.f}, {Axis::R, 100.f}}, {}, {}},  // triggers and the right stick do nothing
        {{}, {A}, {PlayerAction::FIRE}},
        {{}, {B, input::PadButton::START}, {}},  // the missile is one-shot
    };
    for (const auto& c : cases) {
        source.pads[0] = {c.buttons, c.axes};
        EXPECT_EQ(player_1.GetRealtimeActions(), c.held) << testing::PrintToString(c.axes);
        EXPECT_EQ(player_2.GetRealtimeActions(), Actions{});  // one pad: player 1's
    }
    // Keys and pad together: each action once, the keys' first.
    held_keys = {sf::Keyboard::V, sf::Keyboard::W, sf::Keyboard::B};  // B launches missiles: never held
    source.pads[0] = {{A}, {{Axis::X, -80.f}}};
    EXPECT_EQ(player_1.GetRealtimeActions(), (Actions{PlayerAction::FIRE, PlayerAction::MOVE_UP, PlayerAction::MOVE_LEFT}));
}

// First pad plays as player 1, second as player 2; a pad that leaves frees only its own place.
TEST_F(GamepadsTest, PadsComeAndGoWhileTheGameRuns) {
    Plug(4);
    source.pads[4].buttons = {A};
    EXPECT_EQ(player_2.GetRealtimeActions(), Actions{PlayerAction::FIRE});
    EXPECT_EQ(player_1.GetRealtimeActions(), Actions{});
    Unplug(0);
    Plug(4);  // a repeated notice changes nothing
    EXPECT_EQ(gamepads.PadOf(0), std::nullopt);
    Plug(2);
    Plug(6);  // a third pad has no player
    EXPECT_EQ(gamepads.PadOf(0), 2u);
    EXPECT_EQ(gamepads.PadOf(1), 4u);
    source.pads.erase(4);  // gone without a notice: holds nothing
    EXPECT_EQ(player_2.GetRealtimeActions(), Actions{});
    // A button press counts for the player whose pad it is.
    EXPECT_EQ(player_1.CheckPadButton(Event(E::JoystickButtonPressed, 2, B)), PlayerAction::LAUNCH_MISSILE);
    EXPECT_EQ(player_2.CheckPadButton(Event(E::JoystickButtonPressed, 2, B)), std::nullopt);
    EXPECT_EQ(player_1.CheckPadButton(Event(E::JoystickButtonReleased, 2, B)), std::nullopt);
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
    auto& pad = source.pads[0];
    auto send = [&](E event) {
        if (event.type == E::JoystickMoved) pad.axes[event.joystickMove.axis] = event.joystickMove.position;
        if (event.type == E::JoystickButtonPressed) pad.buttons.insert(event.joystickButton.button);
        if (event.type == E::JoystickButtonReleased) pad.buttons.erase(event.joystickButton.button);
        if (event.type == E::KeyPressed || event.type == E::KeyReleased) held_keys = {};
        if (event.type == E::KeyPressed) held_keys = {event.key.code};
        player.HandleEvent(event, commands);
    };
    send(Event(E::JoystickMoved, 0, Axis::X, -80.f));
    send(Event(E::JoystickMoved, 0, Axis::X, -90.f));  // still left: nothing new to say
    send(Event(E::JoystickMoved, 0, Axis::X, 0.f));
    send(Event(E::JoystickButtonPressed, 0, B));
    send(Event(E::KeyPressed, sf::Keyboard::V));
    send(Event(E::JoystickButtonPressed, 0, A));   // V already said fire
    send(Event(E::JoystickButtonReleased, 0, A));  // V still holds it
    send(Event(E::JoystickButtonPressed, 0, A));
    send(Event(E::KeyReleased, sf::Keyboard::V));  // the pad still holds it
    send(Event(E::JoystickMoved, 0, Axis::PovY, 100.f));
    Unplug(0);
    player.HandleEvent(Event(E::JoystickDisconnected, 0), commands);
    network::SendPacket(client, network::WriteClientOneShotAction({-1, PlayerAction::FIRE}));  // the end

    std::vector<std::string> heard;
    sf::SocketSelector selector;
    selector.add(server);
    for (sf::Packet packet; heard.empty() || heard.back() != "end";) {
        ASSERT_TRUE(selector.wait(sf::seconds(30)));
        ASSERT_EQ(server.receive(packet), sf::Socket::Done);
        if (network::ReadClientMessageType(packet) == network::ClientMessage::OneShotAction) {
            const auto once = network::ReadOneShotAction(packet).value();
            heard.push_back(once.identifier < 0 ? "end" : fmt::format("once {}", int{once.action}));
        } else {
            const auto change = network::ReadRealtimeActionChange(packet).value();
            const char* state = change.active ? "on" : "off";
            heard.push_back(fmt::format("{} {} {}", change.identifier, int{change.action}, state));
        }
    }
    EXPECT_EQ(heard, (std::vector<std::string>{"7 0 on", "7 0 off", "once 5", "7 4 on", "7 3 on", "7 3 off", "7 4 off", "end"}));
    EXPECT_EQ(commands.size(), 0u);  // everything waits for the server's relay
}

TEST(MenuKeysTest, TheDpadAndButtonsDriveMenusLikeKeys) {
    const std::pair<E, std::optional<sf::Keyboard::Key>> cases[] = {
        {Event(E::KeyPressed, sf::Keyboard::X), sf::Keyboard::X},
        {Event(E::JoystickButtonPressed, 3, A), sf::Keyboard::Enter},
        {Event(E::JoystickButtonReleased, 3, A), std::nullopt},
        {Event(E::JoystickButtonPressed, 0, input::PadButton::START), sf::Keyboard::Escape},
        {Event(E::JoystickButtonPressed, 0, input::PadButton::BACK), sf::Keyboard::BackSpace},
        {Event(E::JoystickButtonPressed, 0, B), std::nullopt},  // B fires missiles
        {Event(E::JoystickMoved, 1, Axis::PovY, -100.f), sf::Keyboard::Up},
        {Event(E::JoystickMoved, 1, Axis::PovX, -100.f), sf::Keyboard::Left},
        {Event(E::JoystickMoved, 1, Axis::PovY, 0.f), std::nullopt},  // let go
        {Event(E::JoystickMoved, 1, Axis::Y, -100.f), std::nullopt},  // sticks fly, they do not choose
    };
    for (const auto& [event, key] : cases) EXPECT_EQ(input::MenuKeyOf(event), key) << event.type;
}

}  // namespace
