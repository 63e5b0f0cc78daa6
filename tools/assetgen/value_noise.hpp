#pragma once

#include <cstdint>
#include <vector>

namespace assetgen {

// Smooth value noise on a lattice that wraps, so patterns made from it tile seamlessly.
class TilingNoise {
public:
    // `cells` lattice cells across the period; values at lattice points drawn from `seed`.
    TilingNoise(int cells, std::uint64_t seed);
    // x and y in periods (1.0 = one full tile); result in [0, 1].
    double At(double x, double y) const;
    // Several octaves summed (each octave doubles the lattice, so it still wraps), in [0, 1].
    static double Fractal(const std::vector<TilingNoise>& octaves, double x, double y);

private:
    int cells;
    std::vector<double> lattice;
};

// Octaves with 'base' cells, then twice, four times as many...
std::vector<TilingNoise> MakeOctaves(int base, int count, std::uint64_t seed);

}  // namespace assetgen
