#pragma once

#include <SFML/Graphics/Drawable.hpp>
#include <SFML/Graphics/Sprite.hpp>
#include <SFML/Graphics/Transformable.hpp>
#include <SFML/System/Time.hpp>

#include <cstddef>

namespace animation {

// Plays a sprite sheet whose equal frames run left to right, then row by row.
class Animation : public sf::Drawable, public sf::Transformable {
public:
    explicit Animation(const sf::Texture& texture);

    void SetFrameSize(sf::Vector2u size) { frame_size = size; }
    void SetNumFrames(std::size_t count) { num_frames = count; }
    void SetDuration(sf::Time time) { duration = time; }
    void SetRepeating(bool flag) { repeat = flag; }
    void Restart() { current_frame = 0; }
    bool IsFinished() const { return current_frame >= num_frames; }
    sf::FloatRect GetLocalBounds() const;
    sf::IntRect GetTextureRect() const { return sprite.getTextureRect(); }

    void Update(sf::Time dt);

private:
    void draw(sf::RenderTarget& target, sf::RenderStates states) const override;
    void Advance(sf::IntRect& rect) const;
    sf::IntRect FirstFrame() const;

    sf::Sprite sprite;
    sf::Vector2u frame_size;
    sf::Time duration;
    sf::Time elapsed_time;
    std::size_t num_frames = 0;
    std::size_t current_frame = 0;
    bool repeat = false;
};

}  // namespace animation
