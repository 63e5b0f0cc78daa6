#pragma once

#include <SFML/Graphics/Text.hpp>

// Puts the origin at half the text's local size (the glyphs' own offset is not added), so a
// text placed at a point is centred on it.
void CenterOrigin(sf::Text& text);
