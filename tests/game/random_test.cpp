#include "random.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <latch>
#include <random>
#include <thread>
#include <vector>

namespace {

// The generator is process-wide, so each check runs in a fresh process that has drawn nothing yet.
class RandomIntDeathTest : public ::testing::Test {
protected:
    RandomIntDeathTest() { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

// The reference: a generator of our own with the library's default seed, drawn the same way.
std::vector<int> ReferenceDraws(std::size_t count, int min, int max) {
    std::mt19937 generator;
    std::vector<int> draws;
    for (std::size_t i = 0; i < count; ++i) draws.push_back(std::uniform_int_distribution<int>(min, max - 1)(generator));
    return draws;
}

TEST_F(RandomIntDeathTest, EveryRunDrawsTheSameSequence) {
    EXPECT_EQ(std::mt19937()(), 3499211612u);  // the default seed is 5489
    const auto expected = ReferenceDraws(100, 0, 4);
    EXPECT_EXIT(
        {
            std::vector<int> drawn;
            for (int i = 0; i < 100; ++i) drawn.push_back(RandomInt(0, 4));
            std::exit(drawn == expected ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

constexpr std::size_t per_thread = 200000;

// Draws from two threads at once and returns everything drawn, sorted.
std::vector<int> DrawFromTwoThreads() {
    std::vector<int> first;
    std::vector<int> second;
    first.reserve(per_thread);
    second.reserve(per_thread);
    std::latch start(2);  // both threads begin drawing together, so the draws really overlap
    const auto draw = [&start](std::vector<int>& out) {
        start.arrive_and_wait();
        for (std::size_t i = 0; i < per_thread; ++i) out.push_back(RandomInt(-1000, 1000000));
    };
    std::thread other(draw, std::ref(first));
    draw(second);
    other.join();
    first.insert(first.end(), second.begin(), second.end());
    std::sort(first.begin(), first.end());
    return first;
}

TEST_F(RandomIntDeathTest, ConcurrentDrawsShareOneSequence) {
    auto expected = ReferenceDraws(2 * per_thread, -1000, 1000000);
    std::sort(expected.begin(), expected.end());
    EXPECT_EXIT(std::exit(DrawFromTwoThreads() == expected ? 0 : 1), ::testing::ExitedWithCode(0), "");
}

TEST(RandomIntTest, StaysWithinTheHalfOpenRange) {
    bool seen_min = false;
    for (int i = 0; i < 200; ++i) {
        const int value = RandomInt(2, 4);
        ASSERT_TRUE(value == 2 || value == 3) << value;
        seen_min = seen_min || value == 2;
    }
    EXPECT_TRUE(seen_min);
    EXPECT_EQ(RandomInt(7, 8), 7);
}

}  // namespace
