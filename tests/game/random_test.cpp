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

// Draws from RandomInt, or from a generator with the library's default seed drawn the same way.
std::vector<int> Draws(std::size_t count, int min, int max, std::mt19937* reference = nullptr) {
    std::vector<int> draws(count);
    for (int& draw : draws)
        draw = reference ? std::uniform_int_distribution<int>(min, max - 1)(*reference) : RandomInt(min, max);
    return draws;
}

// The generator is process-wide, so each check runs in a fresh process that has drawn nothing.
TEST(RandomIntDeathTest, EveryRunDrawsTheSameSequenceFromAnyThread) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    std::mt19937 reference;
    const auto expected = Draws(100, 0, 4, &reference);
    EXPECT_EXIT(std::exit(Draws(100, 0, 4) == expected ? 0 : 1), ::testing::ExitedWithCode(0), "");

    // Two threads that start drawing together, so their draws really overlap, share the sequence.
    constexpr std::size_t per_thread = 200000;
    std::mt19937 shared_reference;
    auto shared = Draws(2 * per_thread, -1000, 1000000, &shared_reference);
    std::sort(shared.begin(), shared.end());
    const auto from_two_threads = [] {
        std::vector<int> first, second;
        std::latch start(2);
        const auto draw = [&start](std::vector<int>& out) {
            start.arrive_and_wait();
            out = Draws(per_thread, -1000, 1000000);
        };
        std::thread other(draw, std::ref(first));
        draw(second);
        other.join();
        first.insert(first.end(), second.begin(), second.end());
        std::sort(first.begin(), first.end());
        return first;
    };
    EXPECT_EXIT(std::exit(from_two_threads() == shared ? 0 : 1), ::testing::ExitedWithCode(0), "");
}

}  // namespace
