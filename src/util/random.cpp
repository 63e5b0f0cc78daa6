#include "util/random.hpp"

#include <cassert>
#include <mutex>
#include <random>

namespace {

std::mutex generator_mutex;

std::mt19937& Generator() {
    static std::mt19937 generator;  // default seed 5489: reproducible runs
    return generator;
}

}  // namespace

int RandomInt(int min, int max) {
    assert(min < max);
    std::uniform_int_distribution<int> distribution(min, max - 1);
    const std::lock_guard lock(generator_mutex);
    return distribution(Generator());
}
