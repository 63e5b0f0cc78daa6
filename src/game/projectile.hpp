#pragma once

#include "game/entity.hpp"

#include <holder/holders.hpp>
#include <holder/resource_id.hpp>

#include <SFML/Graphics/Sprite.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <cstdint>

namespace game::projectile {

// A bullet or a guided missile in flight. The world reads its damage and destroys it on impact.
class Projectile : public entity::Entity {
public:
    enum Type : std::int32_t {
        AlliedBullet,
        EnemyBullet,
        Missile,
        TypeCount,
    };

    Projectile(Type type, const holder::TextureHolder& textures);

    std::uint32_t GetCategory() const override;
    sf::FloatRect GetBoundingRect() const override;

    bool IsGuided() const { return type == Missile; }
    // Steers a missile towards a world position from now on.
    void GuideTowards(sf::Vector2f position);
    float GetMaxSpeed() const;
    int GetDamage() const;
    Type GetType() const { return type; }

private:
    sf::Transform DrawingTurn() const;
    void UpdateCurrent(sf::Time dt, command::CommandQueue& commands) override;
    void DrawCurrent(sf::RenderTarget& target, sf::RenderStates states) const override;
    void Steer(sf::Time dt);

    sf::Sprite sprite;
    sf::Vector2f target_direction;  // unit vector; (0, 0) until first guided
    Type type;
};

}  // namespace game::projectile
