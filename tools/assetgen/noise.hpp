#pragma once

#include <cstdint>

namespace assetgen {

// A small seeded generator (splitmix64) so every build draws the same numbers; the standard
// distributions are not specified bit for bit, so they are not used here.
class Noise {
public:
    explicit Noise(std::uint64_t seed) : state(seed) {}

    std::uint64_t Next() {
        std::uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    // Uniform in [0, 1).
    double Unit() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }
    // Uniform in [-1, 1).
    float Bipolar() { return static_cast<float>(Unit() * 2.0 - 1.0); }
    // Uniform in [low, high).
    double Range(double low, double high) { return low + (high - low) * Unit(); }

private:
    std::uint64_t state;
};

}  // namespace assetgen
