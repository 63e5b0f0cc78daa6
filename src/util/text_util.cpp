#include "util/text_util.hpp"

void CenterOrigin(sf::Transformable& object, const sf::FloatRect& local_bounds) {
    object.setOrigin(local_bounds.width / 2.f, local_bounds.height / 2.f);
}
