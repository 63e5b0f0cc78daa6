#pragma once

#include "scene/scene_node.hpp"

#include <SFML/System/Vector2.hpp>

namespace game::entity {

// Something on the playing field that moves by its velocity and can be destroyed.
class Entity : public scene::SceneNode {
public:
    explicit Entity(int hitpoints);

    void Repair(int points);
    void Damage(int points);
    void SetHitpoints(int points);
    int GetHitpoints() const { return hitpoints; }
    // Takes the hitpoints; the scene graph removes the node afterwards.
    virtual void Destroy();
    bool IsDestroyed() const override;

    void SetVelocity(sf::Vector2f new_velocity) { velocity = new_velocity; }
    void Accelerate(sf::Vector2f change) { velocity += change; }
    sf::Vector2f GetVelocity() const { return velocity; }

protected:
    void UpdateCurrent(sf::Time dt, command::CommandQueue& commands) override;

private:
    int hitpoints;
    sf::Vector2f velocity;
};

}  // namespace game::entity
