#include "state/overlay.hpp"

#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Graphics/RenderTarget.hpp>

namespace state {

void DrawDarkening(sf::RenderTarget& target) {
    sf::RectangleShape shade(target.getView().getSize());
    shade.setFillColor(sf::Color(0, 0, 0, 150));
    target.draw(shade);
}

}  // namespace state
