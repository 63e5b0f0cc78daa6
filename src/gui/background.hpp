#pragma once

#include "state/state_context.hpp"

#include <holder/resource_id.hpp>

#include <SFML/Graphics/Drawable.hpp>
#include <SFML/Graphics/Rect.hpp>
#include <SFML/Graphics/Sprite.hpp>

#include <vector>

namespace gui::background {

// Where one kind of background is cut from.
struct BackgroundData_t {
    holder::TextureId texture;
    sf::IntRect texture_rect;
};

// A picture cut from the background texture and stretched over the whole view, as the view
// was when the background was built; the aspect ratio is not kept.
class Background : public sf::Drawable {
public:
    enum Type { Menu, Loading, Spare };

    Background(Type type, const state::StateContext_t& context);

private:
    void draw(sf::RenderTarget& target, sf::RenderStates states) const override;

    sf::Sprite sprite;
};

// One row per Background::Type.
extern const std::vector<BackgroundData_t> BACKGROUND_DATA;

}  // namespace gui::background
