#include "scene/text_node.hpp"

#include "util/text_util.hpp"

#include <SFML/Graphics/RenderTarget.hpp>

#include <algorithm>

namespace scene {

TextNode::TextNode(const holder::FontHolder& fonts, const std::string& string)
    : text(string, fonts.Get(holder::FontId::Main), 20) {
    CenterOrigin(text);
}

void TextNode::SetString(const std::string& string) {
    // Aircraft set their read-outs every step; measuring the glyphs again is only worth a change.
    const sf::String& current = text.getString();
    if (std::equal(current.begin(), current.end(), string.begin(), string.end(),
                   [](sf::Uint32 shown, char wanted) { return shown == static_cast<unsigned char>(wanted); }))
        return;
    text.setString(string);
    CenterOrigin(text);
}

void TextNode::DrawCurrent(sf::RenderTarget& target, sf::RenderStates states) const { target.draw(text, states); }

}  // namespace scene
