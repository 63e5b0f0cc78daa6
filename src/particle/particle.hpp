#pragma once

#include <SFML/Graphics/Color.hpp>
#include <SFML/System/Time.hpp>
#include <SFML/System/Vector2.hpp>

#include <vector>

namespace particle {

// One particle of a trail; particles stay where they were emitted and fade out.
struct Particle {
    enum Type {
        Propellant,
        Smoke,
        ParticleCount,
    };

    sf::Vector2f position;
    sf::Color color;
    sf::Time lifetime;
};

struct ParticleData_t {
    sf::Color color;
    sf::Time lifetime;
};

extern const std::vector<ParticleData_t> PARTICLE_DATA;

// The table row of a particle type (bounds-checked).
const ParticleData_t& DataOf(Particle::Type type);

}  // namespace particle
