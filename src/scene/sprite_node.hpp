#pragma once

#include "scene/scene_node.hpp"

#include <SFML/Graphics/Sprite.hpp>

namespace scene {

// One sprite in the tree: the whole texture, or a rectangle of it (tiled when the texture repeats).
class SpriteNode : public SceneNode {
public:
    explicit SpriteNode(const sf::Texture& texture);
    SpriteNode(const sf::Texture& texture, const sf::IntRect& texture_rect);

private:
    void DrawCurrent(sf::RenderTarget& target, sf::RenderStates states) const override;

    sf::Sprite sprite;
};

}  // namespace scene
