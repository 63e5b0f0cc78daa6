#pragma once

#include <asset/texture_layout.hpp>

#include <SFML/Graphics/Rect.hpp>

namespace asset {

// A rectangle of the texture layout as the game's sprites take it.
inline sf::IntRect ToIntRect(const Rect_t& rect) { return {rect.left, rect.top, rect.width, rect.height}; }

}  // namespace asset
