#include "util/random.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <latch>
#include <random>
#include <thread>
#include <vector>

namespace {

// The generator is process-wide, so the check runs in a fresh process that has drawn nothing.
// Two threads that start drawing together, so that their draws really overlap, share out the
// sequence of the library's default seed between them: every value once.
TEST(RandomIntDeathTest, EveryRunDrawsTheSameSequenceFromAnyThread) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    constexpr std::size_t per_thread = 200000;
    std::mt19937 reference;
    std::vector<int> expected(2 * per_thread);
    for (int& value : expected) value = std::uniform_int_distribution<int>(-1000, 999999)(reference);
    std::sort(expected.begin(), expected.end());
    const auto from_two_threads = [] {
        std::vector<int> first(per_thread), second(per_thread);
        std::latch start(2);
        const auto draw = [&start](std::vector<int>& out) {
            start.arrive_and_wait();
            for (int& value : out) value = RandomInt(-1000, 1000000);
        };
        std::thread other(draw, std::ref(first));
        draw(second);
        other.join();
        first.insert(first.end(), second.begin(), second.end());
        std::sort(first.begin(), first.end());
        return first;
    };
    EXPECT_EXIT(std::exit(from_two_threads() == expected ? 0 : 1), ::testing::ExitedWithCode(0), "");
}

}  // namespace
