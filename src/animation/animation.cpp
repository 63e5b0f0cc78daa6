#include "animation/animation.hpp"

#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <cassert>

namespace animation {

Animation::Animation(const sf::Texture& texture) : sprite(texture) {}

sf::FloatRect Animation::GetLocalBounds() const {
    return {0.f, 0.f, static_cast<float>(frame_size.x), static_cast<float>(frame_size.y)};
}

sf::IntRect Animation::FirstFrame() const {
    return {0, 0, static_cast<int>(frame_size.x), static_cast<int>(frame_size.y)};
}

void Animation::Advance(sf::IntRect& rect) const {
    const int sheet_width = static_cast<int>(sprite.getTexture()->getSize().x);
    rect.left += rect.width;
    if (rect.left + rect.width > sheet_width) {
        rect.left = 0;
        rect.top += rect.height;
    }
}

void Animation::Update(sf::Time dt) {
    assert(num_frames != 0);
    const sf::Time time_per_frame = sf::seconds(duration.asSeconds() / static_cast<float>(num_frames));
    elapsed_time += dt;

    sf::IntRect rect = current_frame == 0 ? FirstFrame() : sprite.getTextureRect();
    if (elapsed_time >= time_per_frame) {
        if (!repeat) {
            while (current_frame < num_frames) {
                Advance(rect);
                elapsed_time -= time_per_frame;
                ++current_frame;
                if (elapsed_time < time_per_frame) break;
            }
        } else {
            do {
                Advance(rect);
                current_frame = (current_frame + 1) % num_frames;
                if (current_frame == 0) rect = FirstFrame();
                elapsed_time -= time_per_frame;
            } while (elapsed_time >= time_per_frame);
        }
    }
    sprite.setTextureRect(rect);
}

void Animation::draw(sf::RenderTarget& target, sf::RenderStates states) const {
    states.transform *= getTransform();
    target.draw(sprite, states);
}

}  // namespace animation
