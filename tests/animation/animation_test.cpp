#include "animation/animation.hpp"

#include <gtest/gtest.h>

#include <SFML/Graphics/Texture.hpp>

namespace {

class AnimationTest : public ::testing::Test {
protected:
    AnimationTest() {
        sheet.create(1024, 1024);
        explosion.SetFrameSize({256, 256});
        explosion.SetNumFrames(16);
        explosion.SetDuration(sf::seconds(1));
    }

    sf::Texture sheet;
    animation::Animation explosion{sheet};
};

TEST_F(AnimationTest, StepsAlongRowsAndFinishesAfterAllFrames) {
    explosion.Update(sf::microseconds(62500));
    EXPECT_EQ(explosion.GetTextureRect(), sf::IntRect(256, 0, 256, 256));
    for (int i = 0; i < 3; ++i) explosion.Update(sf::microseconds(62500));
    EXPECT_EQ(explosion.GetTextureRect(), sf::IntRect(0, 256, 256, 256));
    for (int i = 0; i < 11; ++i) explosion.Update(sf::microseconds(62500));
    EXPECT_FALSE(explosion.IsFinished());
    explosion.Update(sf::microseconds(62500));
    EXPECT_TRUE(explosion.IsFinished());
    const sf::IntRect finished = explosion.GetTextureRect();
    explosion.Update(sf::seconds(1));
    EXPECT_EQ(explosion.GetTextureRect(), finished);
}

TEST_F(AnimationTest, LongUpdateTakesSeveralStepsAndKeepsTheRemainder) {
    explosion.Update(sf::milliseconds(200));  // 3 × 62,500 + 12,500
    EXPECT_EQ(explosion.GetTextureRect(), sf::IntRect(768, 0, 256, 256));
    explosion.Update(sf::microseconds(49999));
    EXPECT_EQ(explosion.GetTextureRect(), sf::IntRect(768, 0, 256, 256));
    explosion.Update(sf::microseconds(1));
    EXPECT_EQ(explosion.GetTextureRect(), sf::IntRect(0, 256, 256, 256));
}

TEST_F(AnimationTest, RepeatingAnimationWrapsToTheFirstFrame) {
    explosion.SetRepeating(true);
    for (int i = 0; i < 15; ++i) explosion.Update(sf::microseconds(62500));
    EXPECT_EQ(explosion.GetTextureRect(), sf::IntRect(768, 768, 256, 256));
    explosion.Update(sf::microseconds(62500));
    EXPECT_EQ(explosion.GetTextureRect(), sf::IntRect(0, 0, 256, 256));
    EXPECT_FALSE(explosion.IsFinished());
}

}  // namespace
