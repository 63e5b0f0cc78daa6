#include "gui/label.hpp"

#include <SFML/Graphics/RenderTarget.hpp>

namespace gui::label {

Label::Label(const std::string& caption, const holder::FontHolder& fonts)
    : text(caption, fonts.Get(holder::FontId::Main), 30) {}

void Label::SetText(const std::string& caption) { text.setString(caption); }

void Label::draw(sf::RenderTarget& target, sf::RenderStates states) const {
    states.transform *= getTransform();
    target.draw(text, states);
}

}  // namespace gui::label
