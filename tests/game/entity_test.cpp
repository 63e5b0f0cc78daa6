#include "game/entity.hpp"

#include <gtest/gtest.h>

namespace {

using game::entity::Entity;

TEST(EntityTest, DamageIsNotClampedAndDestroyZeroesHitpoints) {
    Entity weak(1);
    weak.Damage(5);
    EXPECT_EQ(weak.GetHitpoints(), -4);
    EXPECT_TRUE(weak.IsMarkedForRemoval());

    Entity strong(100);
    strong.Destroy();
    EXPECT_EQ(strong.GetHitpoints(), 0);
    EXPECT_TRUE(strong.IsDestroyed());
    EXPECT_DEATH(strong.Damage(0), "points > 0");
    EXPECT_DEATH(strong.Repair(-1), "points > 0");
    EXPECT_DEATH(strong.SetHitpoints(0), "points > 0");
}

TEST(EntityTest, MovesByVelocityTimesFrameTime) {
    Entity entity(1);
    entity.SetVelocity({0.f, -50.f});
    entity.Accelerate({10.f, 0.f});
    entity.Accelerate({10.f, 0.f});
    command::CommandQueue commands;
    entity.Update(sf::microseconds(16666), commands);
    entity.Update(sf::microseconds(16666), commands);
    EXPECT_NEAR(entity.getPosition().x, 2 * 20.f * 0.016666f, 1e-6f);
    EXPECT_NEAR(entity.getPosition().y, 2 * -50.f * 0.016666f, 1e-6f);
}

}  // namespace
