#pragma once

#include "scene/scene_node.hpp"

#include <holder/holders.hpp>
#include <holder/resource_id.hpp>

#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/Text.hpp>

#include <string>

namespace scene {

// A text centred on the node's position (the aircraft read-outs).
class TextNode : public SceneNode {
public:
    TextNode(const holder::FontHolder& fonts, const std::string& text);

    void SetString(const std::string& string);
    const sf::Text& GetText() const { return text; }

private:
    void DrawCurrent(sf::RenderTarget& target, sf::RenderStates states) const override;

    sf::Text text;
};

}  // namespace scene
