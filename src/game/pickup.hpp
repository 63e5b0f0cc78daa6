#pragma once

#include "game/entity.hpp"

#include <holder/holders.hpp>
#include <holder/resource_id.hpp>
#include <rules/mission_rules.hpp>

#include <SFML/Graphics/Sprite.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <cstdint>

namespace game::character {
class Character;
}

namespace game::pickup {

// A power-up dropped by an enemy; what it does is its table row's action.
class Pickup : public entity::Entity {
public:
    enum Type : std::int32_t {
        HealthRefill,
        MissileRefill,
        FireSpread,
        FireRate,
        TypeCount,
    };

    Pickup(Type type, const holder::TextureHolder& textures);

    std::uint32_t GetCategory() const override;
    sf::FloatRect GetBoundingRect() const override;
    void Apply(character::Character& character) const;
    Type GetType() const { return type; }

private:
    void DrawCurrent(sf::RenderTarget& target, sf::RenderStates states) const override;

    sf::Sprite sprite;
    Type type;
};

// Messages carry the type as a plain integer, numbered as the rules say.
static_assert(Pickup::TypeCount == rules::PICKUP_TYPE_COUNT);

}  // namespace game::pickup
