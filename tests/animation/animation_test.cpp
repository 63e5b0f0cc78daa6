#include "animation/animation.hpp"

#include <gtest/gtest.h>

#include <SFML/Graphics/Texture.hpp>

namespace {

// A 1024 x 1024 sheet of sixteen 256 x 256 frames, four to a row, played in one second:
// 62,500 µs a frame.
TEST(AnimationTest, FramesStepAlongTheRowsKeepingTheRemainderThenStopOrWrap) {
    sf::Texture sheet;
    ASSERT_TRUE(sheet.create(1024, 1024));
    const auto frame = [](int column, int row) { return sf::IntRect(256 * column, 256 * row, 256, 256); };
    for (const bool repeating : {false, true}) {
        animation::Animation explosion(sheet);
        explosion.SetFrameSize({256, 256});
        explosion.SetNumFrames(16);
        explosion.SetDuration(sf::seconds(1));
        explosion.SetRepeating(repeating);
        const auto after = [&](sf::Int64 us) {
            explosion.Update(sf::microseconds(us));
            return explosion.GetTextureRect();
        };
        EXPECT_EQ(after(200000), frame(3, 0));  // three frames and 12,500 µs over
        EXPECT_EQ(after(49999), frame(3, 0));
        EXPECT_EQ(after(1), frame(0, 1));
        for (int i = 0; i < 10; ++i) after(62500);
        EXPECT_EQ(after(62500), frame(3, 3));
        EXPECT_FALSE(explosion.IsFinished());
        const sf::IntRect last = after(62500);
        EXPECT_EQ(explosion.IsFinished(), !repeating);
        if (repeating) {
            EXPECT_EQ(last, frame(0, 0));
        } else {
            EXPECT_EQ(after(1000000), last);
        }
    }
}

}  // namespace
