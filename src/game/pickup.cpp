#include "game/pickup.hpp"

#include "game/data_table.hpp"
#include "util/text_util.hpp"

#include <SFML/Graphics/RenderTarget.hpp>

namespace game::pickup {
namespace {

const PickupData_t& DataOf(Pickup::Type type) { return data_table::PICKUP_DATA.at(static_cast<std::size_t>(type)); }

}  // namespace

Pickup::Pickup(Type pickup_type, const holder::TextureHolder& textures)
    : Entity(1), sprite(textures.Get(DataOf(pickup_type).texture), DataOf(pickup_type).texture_rect), type(pickup_type) {
    CenterOrigin(sprite);
}

std::uint32_t Pickup::GetCategory() const { return scene::Category::PICKUP; }

sf::FloatRect Pickup::GetBoundingRect() const { return GetWorldTransform().transformRect(sprite.getGlobalBounds()); }

void Pickup::Apply(character::Character& character) const { DataOf(type).action(character); }

void Pickup::DrawCurrent(sf::RenderTarget& target, sf::RenderStates states) const { target.draw(sprite, states); }

}  // namespace game::pickup
