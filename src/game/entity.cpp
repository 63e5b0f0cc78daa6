#include "game/entity.hpp"

#include <cassert>

namespace game::entity {

Entity::Entity(int initial_hitpoints) : SceneNode(scene::Category::NONE), hitpoints(initial_hitpoints) {}

void Entity::Repair(int points) {
    assert(points > 0);
    hitpoints += points;
}

void Entity::Damage(int points) {
    assert(points > 0);
    hitpoints -= points;
}

void Entity::SetHitpoints(int points) {
    assert(points > 0);
    hitpoints = points;
}

void Entity::Destroy() { hitpoints = 0; }

bool Entity::IsDestroyed() const { return hitpoints <= 0; }

void Entity::UpdateCurrent(sf::Time dt, command::CommandQueue&) {
    move(velocity * dt.asSeconds());
}

}  // namespace game::entity
