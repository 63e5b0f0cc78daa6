#include "app/frame_timing.hpp"

#include <gtest/gtest.h>

#include <tuple>

namespace {

TEST(FrameTimingTest, StepsTakeWholeSixtiethsAndCarryTheRest) {
    const std::tuple<sf::Int64, int, sf::Int64> cases[] = {{16666, 1, 0}, {16665, 0, 16665}, {40000, 2, 6668}};
    for (const auto& [before, steps, after] : cases) {
        sf::Time accumulator = sf::microseconds(before);
        EXPECT_EQ(TakeFixedSteps(accumulator), steps) << before;
        EXPECT_EQ(accumulator, sf::microseconds(after)) << before;
    }
}

TEST(FrameTimingTest, StatisticsRefreshOncePerSecondKeepingTheRemainder) {
    FrameStatistics_t statistics;
    for (int frame = 0; frame < 60; ++frame) {
        // 40 frames of 16,666 µs and 20 of 16,668 µs make exactly one second.
        const auto text = CountFrame(statistics, sf::microseconds(frame < 40 ? 16666 : 16668));
        ASSERT_EQ(text.has_value(), frame == 59) << frame;
        if (text) {
            EXPECT_EQ(*text, "60.0 frames / second\n16666.7 usec / frame");
        }
    }

    const auto text = CountFrame(statistics, sf::microseconds(1250000));
    ASSERT_TRUE(text);
    EXPECT_EQ(*text, "0.8 frames / second\n1250000.0 usec / frame");
    EXPECT_EQ(statistics.update_time, sf::microseconds(250000));
}

}  // namespace
