#pragma once

#include "particle/particle.hpp"
#include "scene/scene_node.hpp"

namespace particle::node {
class ParticleNode;
}

namespace particle::emitter {

// Invisible node that leaves particles of its type behind its parent, 30 per second.
class EmitterNode : public scene::SceneNode {
public:
    explicit EmitterNode(Particle::Type type);

private:
    void UpdateCurrent(sf::Time dt, command::CommandQueue& commands) override;
    void EmitParticles(sf::Time dt);

    sf::Time accumulated_time = sf::Time::Zero;
    node::ParticleNode* particle_system = nullptr;
    Particle::Type type;
};

}  // namespace particle::emitter
