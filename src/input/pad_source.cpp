#include "input/pad_source.hpp"

namespace input {

bool JoystickSource::IsConnected(unsigned pad) const { return sf::Joystick::isConnected(pad); }

bool JoystickSource::IsButtonPressed(unsigned pad, unsigned button) const {
    return sf::Joystick::isButtonPressed(pad, button);
}

// SFML 2.5 on Linux reports the d-pad's up as negative, like the sticks (elsewhere it may not).
float JoystickSource::AxisPosition(unsigned pad, sf::Joystick::Axis axis) const {
    return sf::Joystick::getAxisPosition(pad, axis);
}

}  // namespace input
