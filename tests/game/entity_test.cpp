#include "game/entity.hpp"

#include <gtest/gtest.h>

namespace {

using game::entity::Entity;

TEST(EntityTest, DamageIsNotClampedAndDestroyZeroesHitpoints) {
    Entity weak(1);
    weak.Damage(5);
    EXPECT_EQ(weak.GetHitpoints(), -4);
    EXPECT_TRUE(weak.IsDestroyed());
    EXPECT_TRUE(weak.IsMarkedForRemoval());

    Entity strong(100);
    strong.Repair(25);
    EXPECT_EQ(strong.GetHitpoints(), 125);
    strong.Destroy();
    EXPECT_EQ(strong.GetHitpoints(), 0);
    EXPECT_TRUE(strong.IsDestroyed());
    strong.SetHitpoints(30);
    EXPECT_FALSE(strong.IsDestroyed());
}

TEST(EntityTest, MovesByVelocityTimesFrameTime) {
    Entity entity(1);
    entity.SetVelocity({0.f, -50.f});
    command::CommandQueue commands;
    entity.Update(sf::microseconds(16666), commands);
    EXPECT_NEAR(entity.getPosition().y, -50.f * 0.016666f, 1e-6f);
    entity.Update(sf::microseconds(16666), commands);
    EXPECT_NEAR(entity.getPosition().y, -2 * 50.f * 0.016666f, 1e-6f);
    EXPECT_TRUE(commands.empty());

    entity.Accelerate({10.f, 0.f});
    entity.Accelerate({10.f, 0.f});
    EXPECT_EQ(entity.GetVelocity(), sf::Vector2f(20.f, -50.f));
}

TEST(EntityDeathTest, NonPositivePointsAreAProgrammingError) {
    Entity entity(10);
    EXPECT_DEATH(entity.Damage(0), "points > 0");
    EXPECT_DEATH(entity.Repair(-1), "points > 0");
    EXPECT_DEATH(entity.SetHitpoints(0), "points > 0");
}

}  // namespace
