#include "gui/button.hpp"

#include "audio/sound_player.hpp"
#include "util/text_util.hpp"

#include <asset/int_rect.hpp>

#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <cassert>

namespace gui::button {
namespace {
const float caption_width = 184.f;
}
namespace {

// The three looks lie stacked in the button texture.
const sf::IntRect normal_look = asset::ToIntRect(asset::BUTTON_NORMAL);
const sf::IntRect selected_look = asset::ToIntRect(asset::BUTTON_SELECTED);
const sf::IntRect pressed_look = asset::ToIntRect(asset::BUTTON_PRESSED);

SoundPlayer& SoundsOf(const state::StateContext_t& context) {
    assert(context.sounds);
    return *context.sounds;
}

}  // namespace

Button::Button(const state::StateContext_t& context)
    : sprite(context.textures->Get(holder::TextureId::Button)),
      sounds(SoundsOf(context)),
      text("", context.fonts->Get(holder::FontId::Main), 30) {
    sprite.setTextureRect(normal_look);
    const sf::FloatRect bounds = sprite.getLocalBounds();
    text.setPosition(bounds.width / 2.f, bounds.height / 2.f);
    text.setFillColor(sf::Color::White);
}

void Button::SetCallback(std::function<void()> action) { callback = std::move(action); }

void Button::SetText(const std::string& caption) {
    text.setString(caption);
    // Long captions ("Launch missile") shrink until they fit inside the button's rim.
    for (unsigned size = 30; size > 12 && text.getLocalBounds().width > caption_width; --size)
        text.setCharacterSize(size - 1);
    CenterOrigin(text);
    // The glyphs start below the text's top edge; without this the caption sits low on the button.
    text.setOrigin(text.getOrigin() + sf::Vector2f(0.f, text.getLocalBounds().top));
}

void Button::SetToggle(bool toggle) { is_toggle = toggle; }

void Button::Select() {
    Component::Select();
    sprite.setTextureRect(selected_look);
}

void Button::Deselect() {
    Component::Deselect();
    sprite.setTextureRect(normal_look);
}

void Button::Activate() {
    Component::Activate();
    if (is_toggle)
        sprite.setTextureRect(pressed_look);
    else
        Deactivate();
    if (callback) callback();
    sounds.Play(holder::SoundId::Button);
}

// A plain button keeps its look: it was never shown pressed.
void Button::Deactivate() {
    Component::Deactivate();
    if (is_toggle) sprite.setTextureRect(IsSelected() ? selected_look : normal_look);
}

void Button::draw(sf::RenderTarget& target, sf::RenderStates states) const {
    states.transform *= getTransform();
    target.draw(sprite, states);
    target.draw(text, states);
}

}  // namespace gui::button
