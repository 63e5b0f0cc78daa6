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

constexpr std::size_t per_thread = 200000;

// Our own generator with the library's default seed, drawn the same way.
std::vector<int> ReferenceDraws(std::size_t count, int min, int max) {
    std::mt19937 generator;
    std::vector<int> draws;
    for (std::size_t i = 0; i < count; ++i) draws.push_back(std::uniform_int_distribution<int>(min, max - 1)(generator));
    return draws;
}

std::vector<int> Draw(std::size_t count, int min, int max) {
    std::vector<int> draws;
    for (std::size_t i = 0; i < count; ++i) draws.push_back(RandomInt(min, max));
    return draws;
}

// Two threads that start drawing together, so their draws really overlap; all values, sorted.
std::vector<int> DrawFromTwoThreads() {
    std::vector<int> first, second;
    std::latch start(2);
    const auto draw = [&start](std::vector<int>& out) {
        start.arrive_and_wait();
        out = Draw(per_thread, -1000, 1000000);
    };
    std::thread other(draw, std::ref(first));
    draw(second);
    other.join();
    first.insert(first.end(), second.begin(), second.end());
    std::sort(first.begin(), first.end());
    return first;
}

// The generator is process-wide, so each check runs in a fresh process that has drawn nothing.
TEST(RandomIntDeathTest, EveryRunDrawsTheSameSequenceFromAnyThread) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EQ(std::mt19937()(), 3499211612u);  // the default seed, 5489
    const auto expected = ReferenceDraws(100, 0, 4);
    EXPECT_EXIT(std::exit(Draw(100, 0, 4) == expected ? 0 : 1), ::testing::ExitedWithCode(0), "");

    auto shared = ReferenceDraws(2 * per_thread, -1000, 1000000);
    std::sort(shared.begin(), shared.end());
    EXPECT_EXIT(std::exit(DrawFromTwoThreads() == shared ? 0 : 1), ::testing::ExitedWithCode(0), "");
}

}  // namespace
