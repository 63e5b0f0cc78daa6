#include "frame_timing.hpp"

#include <gtest/gtest.h>

namespace {

TEST(FrameTimingTest, StepsTakeWholeSixtiethsAndCarryTheRest) {
    sf::Time accumulator = sf::microseconds(16666);
    EXPECT_EQ(TakeFixedSteps(accumulator), 1);
    EXPECT_EQ(accumulator, sf::Time::Zero);

    accumulator = sf::microseconds(16665);
    EXPECT_EQ(TakeFixedSteps(accumulator), 0);
    EXPECT_EQ(accumulator, sf::microseconds(16665));

    accumulator = sf::microseconds(40000);
    EXPECT_EQ(TakeFixedSteps(accumulator), 2);
    EXPECT_EQ(accumulator, sf::microseconds(6668));
}

TEST(FrameTimingTest, StatisticsRefreshOncePerSecond) {
    FrameStatistics_t statistics;
    std::optional<std::string> text;
    for (int frame = 0; frame < 60; ++frame) {
        // 40 frames of 16,666 µs and 20 of 16,668 µs make exactly one second.
        const auto elapsed = sf::microseconds(frame < 40 ? 16666 : 16668);
        text = CountFrame(statistics, elapsed);
        if (frame < 59) {
            EXPECT_FALSE(text) << frame;
        }
    }
    ASSERT_TRUE(text);
    EXPECT_EQ(*text, "60.0 frames / second\n16666.7 usec / frame");
    EXPECT_EQ(statistics.update_time, sf::Time::Zero);
    EXPECT_EQ(statistics.num_frames, 0u);
}

TEST(FrameTimingTest, LongPeriodKeepsTheRemainder) {
    FrameStatistics_t statistics;
    const auto text = CountFrame(statistics, sf::microseconds(1250000));
    ASSERT_TRUE(text);
    EXPECT_EQ(*text, "0.8 frames / second\n1250000.0 usec / frame");
    EXPECT_EQ(statistics.update_time, sf::microseconds(250000));
}

}  // namespace
