#include "particle/node.hpp"

#include <SFML/Graphics/RenderTarget.hpp>

#include <algorithm>

namespace particle::node {

ParticleNode::ParticleNode(Particle::Type particle_type, const holder::TextureHolder& textures)
    : SceneNode(scene::Category::NONE),
      texture(&textures.Get(holder::TextureId::Particle)),
      type(particle_type),
      vertices(sf::Triangles) {}

std::uint32_t ParticleNode::GetCategory() const { return scene::Category::PARTICLE_SYSTEM; }

void ParticleNode::AddParticle(sf::Vector2f position) {
    const ParticleData_t& data = DataOf(type);
    particles.push_back({position, data.color, data.lifetime});
}

Particle::Type ParticleNode::GetParticleType() const { return type; }

void ParticleNode::UpdateCurrent(sf::Time dt, command::CommandQueue&) {
    if (particles.empty()) return;
    // Every particle of a node starts with the same lifetime, so the expired ones are the oldest.
    while (!particles.empty() && particles.front().lifetime <= sf::Time::Zero) particles.pop_front();
    for (Particle& particle : particles) particle.lifetime -= dt;
    needs_vertex_update = true;
}

void ParticleNode::DrawCurrent(sf::RenderTarget& target, sf::RenderStates states) const {
    if (needs_vertex_update) {
        ComputeVertices();
        needs_vertex_update = false;
        ++vertex_rebuild_count;
    }
    states.texture = texture;
    target.draw(vertices, states);
}

void ParticleNode::ComputeVertices() const {
    const sf::Vector2f size(texture->getSize());
    const sf::Vector2f half = size / 2.f;
    const float table_lifetime = DataOf(type).lifetime.asSeconds();

    vertices.resize(particles.size() * 6);
    std::size_t index = 0;
    auto put = [&](sf::Vector2f position, sf::Vector2f tex_coords, sf::Color color) {
        vertices[index++] = sf::Vertex(position, color, tex_coords);
    };
    for (const Particle& particle : particles) {
        const float ratio = particle.lifetime.asSeconds() / table_lifetime;
        sf::Color color = particle.color;
        color.a = static_cast<sf::Uint8>(std::max(ratio, 0.f) * 255);

        const sf::Vector2f p = particle.position;
        const sf::Vector2f top_left(p.x - half.x, p.y - half.y), top_right(p.x + half.x, p.y - half.y);
        const sf::Vector2f bottom_right(p.x + half.x, p.y + half.y), bottom_left(p.x - half.x, p.y + half.y);
        put(top_left, {0, 0}, color);
        put(top_right, {size.x, 0}, color);
        put(bottom_right, {size.x, size.y}, color);
        put(bottom_left, {0, size.y}, color);
        put(top_left, {0, 0}, color);
        put(bottom_right, {size.x, size.y}, color);
    }
}

}  // namespace particle::node
