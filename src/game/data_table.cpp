#include "game/data_table.hpp"

#include "game/character.hpp"
#include "game/pickup.hpp"
#include "game/projectile.hpp"

#include <asset/int_rect.hpp>

namespace game::data_table {
namespace {

using character::Character;
using character::CharacterData_t;
using pickup::Pickup;
using pickup::PickupData_t;
using projectile::Projectile;
using projectile::ProjectileData_t;

std::vector<CharacterData_t> BuildCharacterData() {
    std::vector<CharacterData_t> data(Character::TypeCount);

    CharacterData_t& allied_heavy = data[Character::AlliedHeavy];
    allied_heavy.hitpoints = 100;
    allied_heavy.speed = 200.f;
    allied_heavy.fire_interval = sf::seconds(0.5f);
    allied_heavy.texture = holder::TextureId::Character;
    allied_heavy.texture_rect = asset::ToIntRect(asset::ALLIED_HEAVY);
    allied_heavy.has_roll_animation = true;

    CharacterData_t& allied_light = data[Character::AlliedLight];
    allied_light.hitpoints = 80;
    allied_light.speed = 240.f;
    allied_light.fire_interval = sf::seconds(0.6f);
    allied_light.texture = holder::TextureId::Character;
    allied_light.texture_rect = asset::ToIntRect(asset::ALLIED_LIGHT);
    allied_light.has_roll_animation = true;

    CharacterData_t& enemy_heavy = data[Character::EnemyHeavy];
    enemy_heavy.hitpoints = 70;
    enemy_heavy.speed = 80.f;
    enemy_heavy.fire_interval = sf::seconds(0.75f);
    enemy_heavy.texture = holder::TextureId::Enemy;
    enemy_heavy.texture_rect = asset::ToIntRect(asset::ENEMY_HEAVY);
    enemy_heavy.has_roll_animation = false;
    enemy_heavy.directions.reserve(3);
    enemy_heavy.directions.push_back({-45.f, 160.f});
    enemy_heavy.directions.push_back({45.f, 320.f});
    enemy_heavy.directions.push_back({-45.f, 160.f});

    CharacterData_t& enemy_light = data[Character::EnemyLight];
    enemy_light.hitpoints = 40;
    enemy_light.speed = 100.f;
    enemy_light.fire_interval = sf::seconds(0.5f);
    enemy_light.texture = holder::TextureId::Enemy;
    enemy_light.texture_rect = asset::ToIntRect(asset::ENEMY_LIGHT);
    enemy_light.has_roll_animation = false;
    enemy_light.directions.reserve(5);
    enemy_light.directions.push_back({-45.f, 100.f});
    enemy_light.directions.push_back({0.f, 100.f});
    enemy_light.directions.push_back({45.f, 200.f});
    enemy_light.directions.push_back({0.f, 100.f});
    enemy_light.directions.push_back({-45.f, 100.f});

    return data;
}

std::vector<ProjectileData_t> BuildProjectileData() {
    std::vector<ProjectileData_t> data(Projectile::TypeCount);

    ProjectileData_t& allied_bullet = data[Projectile::AlliedBullet];
    allied_bullet.damage = 10;
    allied_bullet.speed = 300.f;
    allied_bullet.texture = holder::TextureId::Character;
    allied_bullet.texture_rect = asset::ToIntRect(asset::ALLIED_BULLET);

    ProjectileData_t& enemy_bullet = data[Projectile::EnemyBullet];
    enemy_bullet.damage = 10;
    enemy_bullet.speed = 300.f;
    enemy_bullet.texture = holder::TextureId::Projectile;
    enemy_bullet.texture_rect = asset::ToIntRect(asset::ENEMY_BULLET);

    ProjectileData_t& missile = data[Projectile::Missile];
    missile.damage = 200;
    missile.speed = 150.f;
    missile.texture = holder::TextureId::Character;
    missile.texture_rect = asset::ToIntRect(asset::MISSILE);

    return data;
}

std::vector<PickupData_t> BuildPickupData() {
    using std::placeholders::_1;
    std::vector<PickupData_t> data(Pickup::TypeCount);

    PickupData_t& health = data[Pickup::HealthRefill];
    health.action = std::bind(&entity::Entity::Repair, _1, 25);
    health.texture = holder::TextureId::Projectile;
    health.texture_rect = asset::ToIntRect(asset::HEALTH_PICKUP);

    PickupData_t& missiles = data[Pickup::MissileRefill];
    missiles.action = std::bind(&Character::CollectMissiles, _1, 3);
    missiles.texture = holder::TextureId::Projectile;
    missiles.texture_rect = asset::ToIntRect(asset::MISSILE_PICKUP);

    PickupData_t& spread = data[Pickup::FireSpread];
    spread.action = std::bind(&Character::IncreaseSpread, _1);
    spread.texture = holder::TextureId::Projectile;
    spread.texture_rect = asset::ToIntRect(asset::FIRE_SPREAD_PICKUP);

    PickupData_t& rate = data[Pickup::FireRate];
    rate.action = std::bind(&Character::IncreaseFireRate, _1);
    rate.texture = holder::TextureId::Projectile;
    rate.texture_rect = asset::ToIntRect(asset::FIRE_RATE_PICKUP);

    return data;
}

}  // namespace

const std::vector<CharacterData_t> CHARACTER_DATA = BuildCharacterData();
const std::vector<ProjectileData_t> PROJECTILE_DATA = BuildProjectileData();
const std::vector<PickupData_t> PICKUP_DATA = BuildPickupData();

}  // namespace game::data_table
