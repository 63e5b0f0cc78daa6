#include "particle/emitter.hpp"
#include "particle/node.hpp"
#include "support/helpers.hpp"

#include <SFML/Graphics/RenderTexture.hpp>

namespace {

using particle::Particle;
using particle::node::ParticleNode;

class ParticleTest : public test::FieldTest {
protected:
    ParticleTest() { target.create(8, 8); }

    ParticleNode& AddNode(Particle::Type type) { return Attach(std::make_unique<ParticleNode>(type, textures)); }
    const sf::VertexArray& Drawn(const ParticleNode& node) {
        target.draw(node);
        return node.GetVertices();
    }

    sf::RenderTexture target;
};

TEST_F(ParticleTest, SmokeFadesLinearlyAndIsRemovedOneUpdateAfterExpiry) {
    ParticleNode& smoke = AddNode(Particle::Smoke);
    smoke.AddParticle({10, 10});
    for (const auto& [ms, alpha] : {std::pair(0, 255), {500, 127}, {500, 0}}) {
        root.Update(sf::milliseconds(ms), commands);
        EXPECT_EQ(Drawn(smoke)[0].color.a, alpha) << "after " << ms << " ms more";
    }
    EXPECT_EQ(smoke.GetParticleCount(), 1u);  // its lifetime is exactly 0 now
    root.Update(sf::microseconds(1), commands);
    EXPECT_EQ(smoke.GetParticleCount(), 0u);
    // The update that removed the last particle still asks for a rebuild: an empty array is drawn.
    EXPECT_EQ(Drawn(smoke).getVertexCount(), 0u);
}

TEST_F(ParticleTest, EachParticleIsTwoTrianglesOverTheWholeTextureInItsTypesColour) {
    ParticleNode& propellant = AddNode(Particle::Propellant);
    for (int i = 0; i < 5; ++i) propellant.AddParticle({100.f + i, 50});
    root.Update(sf::Time::Zero, commands);
    const sf::VertexArray& vertices = Drawn(propellant);
    ASSERT_EQ(vertices.getVertexCount(), 30u);
    const sf::Vector2f size(textures.Get(holder::TextureId::Particle).getSize());
    EXPECT_EQ(vertices[0].position, sf::Vector2f(100 - size.x / 2, 50 - size.y / 2));
    EXPECT_EQ(vertices[2].texCoords, size);
    EXPECT_EQ(vertices[8].position, sf::Vector2f(101 + size.x / 2, 50 + size.y / 2));
    EXPECT_EQ(vertices[0].color, sf::Color(128, 50, 50, 255));
}

// The emitter rides a moved and turned parent, as on a missile, and emits where it is in the world.
TEST_F(ParticleTest, EmitterFindsItsNodeThenEmitsThirtyPerSecondWhereItIs) {
    AddNode(Particle::Propellant);
    ParticleNode& smoke = AddNode(Particle::Smoke);
    auto& missile = Attach(std::make_unique<scene::SceneNode>());
    missile.setPosition(100, 200);
    missile.setRotation(90);
    Attach(std::make_unique<particle::emitter::EmitterNode>(Particle::Smoke), &missile).setPosition(30, 40);

    root.Update(sf::seconds(1), commands);  // searching: nothing emitted, no time kept
    EXPECT_EQ(smoke.GetParticleCount(), 0u);
    Deliver();
    const std::pair<int, unsigned> steps[] = {
        {100000, 3},  // 3 × 33,333 + 1
        {33332, 3},   // exactly 33,333 accumulated does not emit yet
        {1, 4},
    };
    for (const auto& [us, count] : steps) {
        root.Update(sf::microseconds(us), commands);
        EXPECT_EQ(smoke.GetParticleCount(), count) << us;
    }
    const sf::Vector2f half = sf::Vector2f(textures.Get(holder::TextureId::Particle).getSize()) / 2.f;
    const sf::Vector2f centre = Drawn(smoke)[0].position + half;  // of the first particle's quad
    EXPECT_NEAR(centre.x, 100 - 40, 1e-3);
    EXPECT_NEAR(centre.y, 200 + 30, 1e-3);
}

}  // namespace
