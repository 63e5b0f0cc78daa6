#pragma once

#include <SFML/Graphics/Rect.hpp>
#include <SFML/Graphics/Text.hpp>
#include <SFML/Graphics/Transformable.hpp>

// Puts the origin at half the local size (the bounds' own offset is not added), so the object
// placed at a point is centred on it.
void CenterOrigin(sf::Transformable& object, const sf::FloatRect& local_bounds);

// The same for texts, sprites and shapes, which know their own local bounds.
template <typename Bounded>
void CenterOrigin(Bounded& object) {
    CenterOrigin(object, object.getLocalBounds());
}
