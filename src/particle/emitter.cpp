#include "particle/emitter.hpp"

#include "particle/node.hpp"

namespace particle::emitter {
namespace {
const sf::Time emission_interval = sf::microseconds(33333);
}

EmitterNode::EmitterNode(Particle::Type particle_type) : SceneNode(scene::Category::NONE), type(particle_type) {}

void EmitterNode::UpdateCurrent(sf::Time dt, command::CommandQueue& commands) {
    if (particle_system) {
        EmitParticles(dt);
        return;
    }
    // Find the particle node of our type through the tree; it lives as long as the scene.
    command::Command finder;
    finder.category = scene::Category::PARTICLE_SYSTEM;
    finder.action = command::DerivedAction<node::ParticleNode>([this](node::ParticleNode& container, sf::Time) {
        if (container.GetParticleType() == type) particle_system = &container;
    });
    commands.push(finder);
}

void EmitterNode::EmitParticles(sf::Time dt) {
    accumulated_time += dt;
    while (accumulated_time > emission_interval) {
        accumulated_time -= emission_interval;
        particle_system->AddParticle(GetWorldPosition());
    }
}

}  // namespace particle::emitter
