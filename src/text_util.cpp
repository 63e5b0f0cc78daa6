#include "text_util.hpp"

#include <SFML/Graphics/Text.hpp>

void CenterOrigin(sf::Text& text) {
    const sf::FloatRect bounds = text.getLocalBounds();
    text.setOrigin(bounds.width / 2.f, bounds.height / 2.f);
}
