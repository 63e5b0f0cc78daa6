#pragma once

namespace input {

// Buttons as the Linux joystick driver numbers an Xbox-style pad's.
struct PadButton {
    enum t : unsigned {
        A = 0,  // fire (held); activates in menus
        B = 1,  // launches a missile; cancels a key the settings screen waits for
        BACK = 6,  // leaves a paused mission for the menu
        START = 7,  // pauses and continues
    };
};

// Stick positions nearer the centre than this (of 100) are rest: worn sticks never rest at 0.
inline constexpr float stick_dead_zone = 25.f;
// The d-pad reports -100, 0 or 100; anything past half is a press.
inline constexpr float dpad_threshold = 50.f;

}  // namespace input
