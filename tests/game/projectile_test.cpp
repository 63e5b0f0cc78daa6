#include "game/projectile.hpp"
#include "game/vector_math.hpp"
#include "support/helpers.hpp"

#include <cmath>

namespace {

using game::projectile::Projectile;

// The rotation that points the drawn missile along v.
float Heading(sf::Vector2f v) { return std::fmod(std::atan2(v.y, v.x) * 180.f / 3.14159265f + 450.f, 360.f); }

class ProjectileTest : public test::FieldTest {
protected:
    Projectile& AddMissile(sf::Vector2f velocity) {
        auto missile = std::make_unique<Projectile>(Projectile::Missile, textures);
        missile->SetVelocity(velocity);
        return Attach(std::move(missile), air_layer);
    }
};

// Its trail's two emitters sit at its tail: half the 58-unit missile, drawn upright.
TEST_F(ProjectileTest, GuidedMissileTurnsAtConstantSpeedTrailingFromItsTail) {
    Projectile& missile = AddMissile({0.f, -150.f});
    ASSERT_EQ(missile.GetChildren().size(), 2u);
    for (const auto& emitter : missile.GetChildren())
        EXPECT_EQ(emitter->getPosition(), sf::Vector2f(0.f, 29.f));
    missile.GuideTowards({1000.f, 0.f});  // straight to its right
    float previous_vx = 0.f;
    for (int frame = 0; frame < 120; ++frame) {
        missile.Update(test::step, commands);
        const sf::Vector2f v = missile.GetVelocity();
        EXPECT_NEAR(game::vector_math::Length(v), 150.f, 1e-3f);
        EXPECT_GT(v.x, previous_vx);
        EXPECT_NEAR(Heading(v), missile.getRotation(), 1e-2f);
        previous_vx = v.x;
    }
    EXPECT_GT(previous_vx, 149.f);
}

TEST_F(ProjectileTest, UnguidedOrCancelledSteeringKeepsTheHeading) {
    Projectile& diagonal = AddMissile({90.f, -120.f});
    diagonal.Update(test::step, commands);
    EXPECT_NEAR(diagonal.GetVelocity().x, 90.f, 1e-3f);
    EXPECT_NEAR(diagonal.GetVelocity().y, -120.f, 1e-3f);
    EXPECT_NEAR(diagonal.getRotation(), Heading({90.f, -120.f}), 1e-3f);

    // Steering straight back with exactly its own speed (0.375 s × 400 = 150) sums to nothing.
    Projectile& missile = AddMissile({0.f, -150.f});
    missile.GuideTowards({0.f, 500.f});
    missile.Update(sf::microseconds(375000), commands);
    EXPECT_EQ(missile.GetVelocity(), sf::Vector2f(0.f, -150.f));
    EXPECT_EQ(missile.getRotation(), 0.f);
    // A target at the missile's own position has no direction either; no NaN may creep in.
    missile.GuideTowards(missile.GetWorldPosition());
    missile.Update(test::step, commands);
    EXPECT_EQ(missile.GetVelocity(), sf::Vector2f(0.f, -150.f));
}

}  // namespace
