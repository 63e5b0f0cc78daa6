#include "particle/emitter.hpp"
#include "particle/node.hpp"

#include <gtest/gtest.h>

#include <SFML/Graphics/RenderTexture.hpp>

namespace {

using particle::Particle;

class ParticleTest : public ::testing::Test {
protected:
    ParticleTest() { textures.Load(holder::TextureId::Particle, holder::FileOf(holder::TextureId::Particle)); }

    // Delivers every queued command through the tree, as the world does each update.
    void Deliver() {
        while (!commands.empty()) {
            root.OnCommand(commands.front(), sf::Time::Zero);
            commands.pop();
        }
    }

    std::uint8_t FirstAlpha(const particle::node::ParticleNode& node) {
        sf::RenderTexture target;
        target.create(8, 8);
        target.draw(node);
        return node.GetVertices()[0].color.a;
    }

    holder::ResourceHolder<sf::Texture, holder::TextureId> textures;
    scene::SceneNode root;
    command::CommandQueue commands;
};

TEST_F(ParticleTest, SmokeFadesLinearlyAndIsRemovedOneUpdateAfterExpiry) {
    auto node = std::make_unique<particle::node::ParticleNode>(Particle::Smoke, textures);
    auto* smoke = node.get();
    root.AttachChild(std::move(node));
    smoke->AddParticle({10, 10});
    EXPECT_EQ(smoke->GetCategory(), scene::Category::PARTICLE_SYSTEM);

    root.Update(sf::Time::Zero, commands);
    EXPECT_EQ(FirstAlpha(*smoke), 255);
    root.Update(sf::milliseconds(500), commands);
    EXPECT_EQ(FirstAlpha(*smoke), 127);
    root.Update(sf::milliseconds(500), commands);  // lifetime now exactly 0
    EXPECT_EQ(smoke->GetParticleCount(), 1u);
    EXPECT_EQ(FirstAlpha(*smoke), 0);
    root.Update(sf::microseconds(1), commands);
    EXPECT_EQ(smoke->GetParticleCount(), 0u);
    // The update that removed the last particle still asks for a rebuild: an empty array is drawn.
    FirstAlpha(*smoke);
}

TEST_F(ParticleTest, VertexArrayHoldsSixVerticesPerParticleAroundItsPosition) {
    particle::node::ParticleNode node(Particle::Propellant, textures);
    for (int i = 0; i < 5; ++i) node.AddParticle({100.f + i, 50});
    command::CommandQueue unused;
    node.Update(sf::Time::Zero, unused);
    sf::RenderTexture target;
    target.create(8, 8);
    target.draw(node);
    ASSERT_EQ(node.GetVertices().getVertexCount(), 30u);
    const sf::Vector2f size(textures.Get(holder::TextureId::Particle).getSize());
    EXPECT_EQ(node.GetVertices()[0].position, sf::Vector2f(100 - size.x / 2, 50 - size.y / 2));
    EXPECT_EQ(node.GetVertices()[2].texCoords, size);
    EXPECT_EQ(node.GetVertices()[0].color, sf::Color(128, 50, 50, 255));
}

TEST_F(ParticleTest, VerticesAreRebuiltOnlyForTheFirstDrawAfterAnUpdate) {
    particle::node::ParticleNode node(Particle::Smoke, textures);
    node.AddParticle({10, 10});
    sf::RenderTexture target;
    target.create(8, 8);
    target.draw(node);
    EXPECT_EQ(node.GetVertexRebuildCount(), 0u);  // nothing changed since construction

    command::CommandQueue unused;
    node.Update(sf::milliseconds(10), unused);
    node.Update(sf::milliseconds(10), unused);
    target.draw(node);
    target.draw(node);
    EXPECT_EQ(node.GetVertexRebuildCount(), 1u);
    EXPECT_EQ(node.GetVertices().getVertexCount(), 6u);
}

TEST_F(ParticleTest, EmitterFindsItsNodeThenEmitsThirtyPerSecond) {
    auto smoke_node = std::make_unique<particle::node::ParticleNode>(Particle::Smoke, textures);
    auto* smoke = smoke_node.get();
    root.AttachChild(std::make_unique<particle::node::ParticleNode>(Particle::Propellant, textures));
    root.AttachChild(std::move(smoke_node));
    auto emitter_node = std::make_unique<particle::emitter::EmitterNode>(Particle::Smoke);
    emitter_node->setPosition(30, 40);
    root.AttachChild(std::move(emitter_node));

    root.Update(sf::seconds(1), commands);  // searching: nothing emitted, no time kept
    EXPECT_EQ(smoke->GetParticleCount(), 0u);
    Deliver();
    root.Update(sf::milliseconds(100), commands);
    EXPECT_EQ(smoke->GetParticleCount(), 3u);  // 100,000 µs = 3 × 33,333 + 1
    root.Update(sf::microseconds(33332), commands);
    EXPECT_EQ(smoke->GetParticleCount(), 3u);  // exactly 33,333 accumulated does not emit yet
    root.Update(sf::microseconds(1), commands);
    EXPECT_EQ(smoke->GetParticleCount(), 4u);
}

}  // namespace
