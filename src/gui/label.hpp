#pragma once

#include "gui/component.hpp"

#include <holder/holders.hpp>
#include <holder/resource_id.hpp>

#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/Text.hpp>

#include <string>

namespace gui::label {

// A passive line of text; never selected, ignores events.
class Label : public component::Component {
public:
    Label(const std::string& caption, const holder::FontHolder& fonts);

    // Keeps position and origin as they are.
    void SetText(const std::string& caption);
    const sf::Text& GetText() const { return text; }
    void SetCharacterSize(unsigned size) { text.setCharacterSize(size); }

    bool IsSelectable() const override { return false; }
    void HandleEvent(const sf::Event&) override {}

private:
    void draw(sf::RenderTarget& target, sf::RenderStates states) const override;

    sf::Text text;
};

}  // namespace gui::label
