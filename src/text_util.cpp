#include "text_util.hpp"

void CenterOrigin(sf::Text& text) {
    const sf::FloatRect bounds = text.getLocalBounds();
    text.setOrigin(bounds.width * 0.5f, bounds.height * 0.5f);
}
