#include "gui/background.hpp"

#include <asset/int_rect.hpp>

#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Graphics/Texture.hpp>

namespace gui::background {

const std::vector<BackgroundData_t> BACKGROUND_DATA = {
    {holder::TextureId::Background, asset::ToIntRect(asset::MENU_BACKDROP)},
    {holder::TextureId::Background, asset::ToIntRect(asset::LOADING_BACKDROP)},
    {holder::TextureId::Background, asset::ToIntRect(asset::SPARE_BACKDROP)},
};

Background::Background(Type type, const state::StateContext_t& context) {
    const BackgroundData_t& data = BACKGROUND_DATA[type];
    sprite.setTexture(context.textures->Get(data.texture));
    sprite.setTextureRect(data.texture_rect);
    const sf::Vector2f view_size = context.window->getView().getSize();
    const sf::FloatRect bounds = sprite.getLocalBounds();
    sprite.setScale(view_size.x / bounds.width, view_size.y / bounds.height);
}

void Background::draw(sf::RenderTarget& target, sf::RenderStates states) const { target.draw(sprite, states); }

}  // namespace gui::background
