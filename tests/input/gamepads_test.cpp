#include "input/gamepads.hpp"
#include "input/menu_keys.hpp"
#include "input/pad_layout.hpp"
#include "key_binding/key_binding.hpp"
#include "support/helpers.hpp"

namespace {

using key_binding::PlayerAction;
using Actions = std::vector<PlayerAction::t>;
using E = sf::Event;
using Axis = sf::Joystick::Axis;
using test::FakePads;
using test::PadEvent;
constexpr unsigned A = input::PadButton::A, B = input::PadButton::B;

class GamepadsTest : public ::testing::Test {
protected:
    GamepadsTest() {
        for (auto* binding : {&player_1, &player_2}) binding->SetGamepads(&gamepads);
    }
    // Keeps the source and the pads' connection notices in step.
    void Plug(unsigned pad) {
        source.pads[pad];
        gamepads.HandleEvent(PadEvent(E::JoystickConnected, pad));
    }
    void Unplug(unsigned pad) {
        source.pads.erase(pad);
        gamepads.HandleEvent(PadEvent(E::JoystickDisconnected, pad));
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
    EXPECT_EQ(player_1.CheckPadButton(PadEvent(E::JoystickButtonPressed, 2, B)), PlayerAction::LAUNCH_MISSILE);
    EXPECT_EQ(player_2.CheckPadButton(PadEvent(E::JoystickButtonPressed, 2, B)), std::nullopt);
    EXPECT_EQ(player_1.CheckPadButton(PadEvent(E::JoystickButtonReleased, 2, B)), std::nullopt);
}

TEST(MenuKeysTest, TheDpadAndButtonsDriveMenusLikeKeys) {
    const std::pair<E, std::optional<sf::Keyboard::Key>> cases[] = {
        {test::KeyPress(sf::Keyboard::X), sf::Keyboard::X},
        {PadEvent(E::JoystickButtonPressed, 3, A), sf::Keyboard::Enter},
        {PadEvent(E::JoystickButtonReleased, 3, A), std::nullopt},
        {PadEvent(E::JoystickButtonPressed, 0, input::PadButton::START), sf::Keyboard::Escape},
        {PadEvent(E::JoystickButtonPressed, 0, input::PadButton::BACK), sf::Keyboard::BackSpace},
        {PadEvent(E::JoystickButtonPressed, 0, B), std::nullopt},  // B fires missiles
        {PadEvent(E::JoystickMoved, 1, Axis::PovY, -100.f), sf::Keyboard::Up},
        {PadEvent(E::JoystickMoved, 1, Axis::PovX, -100.f), sf::Keyboard::Left},
        {PadEvent(E::JoystickMoved, 1, Axis::PovY, 0.f), std::nullopt},  // let go
        {PadEvent(E::JoystickMoved, 1, Axis::Y, -100.f), std::nullopt},  // sticks fly, they do not choose
    };
    for (const auto& [event, key] : cases) EXPECT_EQ(input::MenuKeyOf(event), key) << event.type;
}

}  // namespace
