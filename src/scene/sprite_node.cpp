#include "scene/sprite_node.hpp"

#include <SFML/Graphics/RenderTarget.hpp>

namespace scene {

SpriteNode::SpriteNode(const sf::Texture& texture) : sprite(texture) {}

SpriteNode::SpriteNode(const sf::Texture& texture, const sf::IntRect& texture_rect) : sprite(texture, texture_rect) {}

void SpriteNode::DrawCurrent(sf::RenderTarget& target, sf::RenderStates states) const { target.draw(sprite, states); }

}  // namespace scene
