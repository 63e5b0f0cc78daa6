#pragma once

namespace sf {
class Text;
}

// Puts a text's origin at the middle of its local bounds' size. The bounds' left and top
// offsets are deliberately left out, so glyphs with a top bearing sit a little low.
void CenterOrigin(sf::Text& text);
