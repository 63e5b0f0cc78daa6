#pragma once

#include <SFML/Window/Joystick.hpp>

namespace input {

// What the gamepads report. The game reads pads only through this, so that tests can play
// without a device.
class PadSource {
public:
    virtual ~PadSource() = default;
    virtual bool IsConnected(unsigned pad) const = 0;
    virtual bool IsButtonPressed(unsigned pad, unsigned button) const = 0;
    // -100 to 100; negative is left and up, for the sticks and the d-pad alike.
    virtual float AxisPosition(unsigned pad, sf::Joystick::Axis axis) const = 0;
};

// The system's joysticks, as SFML sees them after its latest event poll.
class JoystickSource : public PadSource {
public:
    bool IsConnected(unsigned pad) const override;
    bool IsButtonPressed(unsigned pad, unsigned button) const override;
    float AxisPosition(unsigned pad, sf::Joystick::Axis axis) const override;
};

}  // namespace input
