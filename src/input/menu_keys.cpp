#include "input/menu_keys.hpp"

#include "input/pad_layout.hpp"

namespace input {

std::optional<sf::Keyboard::Key> MenuKeyOf(const sf::Event& event) {
    switch (event.type) {
        case sf::Event::KeyPressed:
            return event.key.code;
        case sf::Event::JoystickButtonPressed:
            switch (event.joystickButton.button) {
                case PadButton::A: return sf::Keyboard::Enter;
                case PadButton::START: return sf::Keyboard::Escape;
                case PadButton::BACK: return sf::Keyboard::BackSpace;
                default: return std::nullopt;
            }
        case sf::Event::JoystickMoved: {
            // The d-pad moves from rest to one side in one event, so each such event is a press.
            const float position = event.joystickMove.position;
            if (position > -dpad_threshold && position < dpad_threshold) return std::nullopt;
            const bool negative = position < 0.f;
            if (event.joystickMove.axis == sf::Joystick::PovX) return negative ? sf::Keyboard::Left : sf::Keyboard::Right;
            if (event.joystickMove.axis == sf::Joystick::PovY) return negative ? sf::Keyboard::Up : sf::Keyboard::Down;
            return std::nullopt;
        }
        default:
            return std::nullopt;
    }
}

}  // namespace input
