#include "display/letterbox.hpp"

namespace display {

sf::FloatRect LetterboxViewport(sf::Vector2u window_size, sf::Vector2f picture_size) {
    if (window_size.x == 0 || window_size.y == 0 || picture_size.x <= 0.f || picture_size.y <= 0.f)
        return {0.f, 0.f, 1.f, 1.f};
    const float window_aspect = static_cast<float>(window_size.x) / static_cast<float>(window_size.y);
    const float picture_aspect = picture_size.x / picture_size.y;
    if (window_aspect > picture_aspect) {
        const float width = picture_aspect / window_aspect;
        return {(1.f - width) / 2.f, 0.f, width, 1.f};
    }
    const float height = window_aspect / picture_aspect;
    return {0.f, (1.f - height) / 2.f, 1.f, height};
}

}  // namespace display
