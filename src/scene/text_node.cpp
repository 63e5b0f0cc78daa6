#include "scene/text_node.hpp"

#include "text_util.hpp"

#include <SFML/Graphics/RenderTarget.hpp>

namespace scene {

TextNode::TextNode(const holder::ResourceHolder<sf::Font, holder::FontId>& fonts, const std::string& string)
    : text(string, fonts.Get(holder::FontId::Main), 20) {
    CenterOrigin(text);
}

void TextNode::SetString(const std::string& string) {
    text.setString(string);
    CenterOrigin(text);
}

void TextNode::DrawCurrent(sf::RenderTarget& target, sf::RenderStates states) const { target.draw(text, states); }

}  // namespace scene
