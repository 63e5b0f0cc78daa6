#pragma once

#include <holder/resource_id.hpp>

#include <SFML/Graphics/Rect.hpp>
#include <SFML/System/Time.hpp>

#include <functional>
#include <vector>

namespace game::character {
class Character;
}

namespace game::data_table {

// One leg of an enemy flight pattern. Angle 0 flies straight down; negative turns towards +x.
struct Direction_t {
    float angle;
    float distance;
};

}  // namespace game::data_table

namespace game::character {

struct CharacterData_t {
    std::vector<data_table::Direction_t> directions;  // empty: no flight pattern
    sf::IntRect texture_rect;
    sf::Time fire_interval;  // at fire-rate level 0
    float speed;
    int hitpoints;  // initial and maximum
    holder::TextureId texture;
    bool has_roll_animation;
};

}  // namespace game::character

namespace game::projectile {

struct ProjectileData_t {
    sf::IntRect texture_rect;
    holder::TextureId texture;
    float speed;
    int damage;
};

}  // namespace game::projectile

namespace game::pickup {

struct PickupData_t {
    std::function<void(character::Character&)> action;
    holder::TextureId texture;
    sf::IntRect texture_rect;
};

}  // namespace game::pickup

namespace game::data_table {

// Read-only rows indexed by the objects' type values; built before main runs.
extern const std::vector<character::CharacterData_t> CHARACTER_DATA;
extern const std::vector<projectile::ProjectileData_t> PROJECTILE_DATA;
extern const std::vector<pickup::PickupData_t> PICKUP_DATA;

}  // namespace game::data_table
