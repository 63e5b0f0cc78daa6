#include "particle/particle.hpp"

namespace particle {
namespace {

std::vector<ParticleData_t> InitializeParticleData() {
    std::vector<ParticleData_t> data(Particle::ParticleCount);
    data[Particle::Propellant].color = sf::Color(128, 50, 50, 255);
    data[Particle::Propellant].lifetime = sf::seconds(0.5f);
    data[Particle::Smoke].color = sf::Color(50, 30, 30, 255);
    data[Particle::Smoke].lifetime = sf::seconds(1.f);
    return data;
}

}  // namespace

const std::vector<ParticleData_t> PARTICLE_DATA = InitializeParticleData();

const ParticleData_t& DataOf(Particle::Type type) { return PARTICLE_DATA.at(static_cast<std::size_t>(type)); }

}  // namespace particle
