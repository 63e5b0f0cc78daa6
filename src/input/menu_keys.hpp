#pragma once

#include <SFML/Window/Event.hpp>
#include <SFML/Window/Keyboard.hpp>

#include <optional>

namespace input {

// The key a menu should take an event for: a key press is itself; from any gamepad the d-pad
// gives the arrows, A Enter, Start Escape and Back Backspace. Everything else gives nothing,
// releases included, so each press counts once.
std::optional<sf::Keyboard::Key> MenuKeyOf(const sf::Event& event);

}  // namespace input
