#pragma once

#include "particle/particle.hpp"
#include "scene/scene_node.hpp"

#include <holder/holders.hpp>
#include <holder/resource_id.hpp>

#include <SFML/Graphics/Texture.hpp>
#include <SFML/Graphics/VertexArray.hpp>

#include <deque>

namespace particle::node {

// All live particles of one type, drawn in a single call from one vertex array.
class ParticleNode : public scene::SceneNode {
public:
    ParticleNode(Particle::Type type, const holder::TextureHolder& textures);

    std::uint32_t GetCategory() const override;
    void AddParticle(sf::Vector2f position);
    Particle::Type GetParticleType() const;

    std::size_t GetParticleCount() const { return particles.size(); }
    const sf::VertexArray& GetVertices() const { return vertices; }
    // How often the vertex array was rebuilt: at most once per drawn frame.
    std::uint32_t GetVertexRebuildCount() const { return vertex_rebuild_count; }

private:
    void UpdateCurrent(sf::Time dt, command::CommandQueue& commands) override;
    void DrawCurrent(sf::RenderTarget& target, sf::RenderStates states) const override;
    void ComputeVertices() const;

    std::deque<Particle> particles;
    const sf::Texture* texture;
    Particle::Type type;
    // Rebuilt lazily while drawing, at most once per drawn frame.
    mutable sf::VertexArray vertices;
    mutable bool needs_vertex_update = false;
    mutable std::uint32_t vertex_rebuild_count = 0;
};

}  // namespace particle::node
