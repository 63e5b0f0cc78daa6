#pragma once

#include <SFML/Window/Keyboard.hpp>

#include <string>

// The name under which a key is shown to the player. Shared by every screen, hence global.
std::string KeyToString(sf::Keyboard::Key key);
