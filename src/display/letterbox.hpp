#pragma once

#include <SFML/Graphics/Rect.hpp>
#include <SFML/System/Vector2.hpp>

namespace display {

// The part of a window, as fractions of its size (what sf::View viewports take), where a
// picture of `picture_size` shows as large as it fits without being stretched; the rest are
// black bars, left and right or above and below, of equal width. An empty window gets the whole.
sf::FloatRect LetterboxViewport(sf::Vector2u window_size, sf::Vector2f picture_size);

}  // namespace display
