#pragma once

#include "animation/animation.hpp"
#include "command/command.hpp"
#include "game/entity.hpp"
#include "game/projectile.hpp"

#include <holder/holders.hpp>
#include <holder/resource_id.hpp>
#include <rules/mission_rules.hpp>

#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/Sprite.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <cstddef>
#include <cstdint>

namespace scene {
class TextNode;
}

namespace game::character {

struct CharacterData_t;

// An aircraft, player or enemy. Everything it puts into the world (bullets, missiles, pickups,
// sounds, network notices) travels as commands through the queue its update receives.
class Character : public entity::Entity {
public:
    enum Type : std::int32_t {
        AlliedHeavy,
        AlliedLight,
        EnemyHeavy,
        EnemyLight,
        TypeCount,
    };

    Character(Type type, const holder::TextureHolder& textures, const holder::FontHolder& fonts);

    std::uint32_t GetCategory() const override;
    sf::FloatRect GetBoundingRect() const override;
    bool IsMarkedForRemoval() const override;
    // Vanishes without exploding (left the battlefield, or removed by the network).
    void Destroy() override;

    void Fire();
    void LaunchMissile();
    void CollectMissiles(int num);
    void IncreaseFireRate();
    void IncreaseSpread();
    bool IsAllied() const;
    // Enemies slow down as they lose hitpoints.
    float GetMaxSpeed() const;

    void SetIdentifier(int value) { identifier = value; }
    int GetIdentifier() const { return identifier; }
    void SetMissileAmmo(int ammo) { missile_ammo = ammo; }
    int GetMissileAmmo() const { return missile_ammo; }
    int GetFireRateLevel() const { return fire_rate_level; }
    int GetSpreadLevel() const { return spread_level; }
    Type GetType() const { return type; }

    void MirrorMovement() { pattern_sign = static_cast<std::int8_t>(-pattern_sign); }
    void DisablePickups() { pickups_enabled = false; }
    // Plays a sound at this aircraft's position, taken when the command runs.
    void PlayLocalSound(command::CommandQueue& commands, holder::SoundId sound);

    const scene::TextNode& GetHealthDisplay() const { return *health_display; }
    const sf::Sprite& GetSprite() const { return sprite; }

private:
    void UpdateCurrent(sf::Time dt, command::CommandQueue& commands) override;
    void DrawCurrent(sf::RenderTarget& target, sf::RenderStates states) const override;

    const CharacterData_t& Data() const;
    void UpdateWreck(sf::Time dt, command::CommandQueue& commands);
    void CheckPickupDrop(command::CommandQueue& commands);
    void CheckProjectileLaunch(sf::Time dt, command::CommandQueue& commands);
    void UpdateMovementPattern(sf::Time dt);
    void UpdateRollAnimation();
    void UpdateTexts();

    void CreateBullets(scene::SceneNode& node, const holder::TextureHolder& textures) const;
    void CreateProjectile(scene::SceneNode& node, projectile::Projectile::Type projectile_type, float x_offset,
                          float y_offset, const holder::TextureHolder& textures) const;
    void CreatePickup(scene::SceneNode& node, const holder::TextureHolder& textures) const;

    int identifier = 0;
    int missile_ammo = 2;
    animation::Animation explosion;
    sf::Sprite sprite;
    command::Command fire_command;
    command::Command missile_command;
    command::Command drop_pickup_command;
    scene::TextNode* health_display = nullptr;
    scene::TextNode* missile_display = nullptr;
    sf::Time fire_countdown = sf::Time::Zero;
    std::size_t direction_index = 0;
    float travelled_distance = 0.f;
    Type type;
    int fire_rate_level = 1;
    int spread_level = 1;
    bool is_firing = false;
    bool is_launching_missile = false;
    bool show_explosion = true;
    bool pickup_drop_decided = false;
    bool explosion_started = false;
    bool pickups_enabled = true;
    std::int8_t pattern_sign = 1;
};

// Messages carry the type as a plain integer, numbered as the rules say.
static_assert(Character::TypeCount == rules::CHARACTER_TYPE_COUNT);
static_assert(Character::EnemyHeavy == rules::PLAYER_CHARACTER_TYPE_COUNT, "the players' types come first");

}  // namespace game::character
