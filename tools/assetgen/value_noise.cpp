#include "value_noise.hpp"

#include "noise.hpp"

#include <cmath>

namespace assetgen {
namespace {

double Smooth(double t) { return t * t * (3.0 - 2.0 * t); }

}  // namespace

TilingNoise::TilingNoise(int cells_, std::uint64_t seed) : cells(cells_), lattice(static_cast<std::size_t>(cells_ * cells_)) {
    Noise noise(seed);
    for (double& value : lattice)
        value = noise.Unit();
}

double TilingNoise::At(double x, double y) const {
    const double fx = (x - std::floor(x)) * cells;
    const double fy = (y - std::floor(y)) * cells;
    const int x0 = static_cast<int>(fx) % cells;
    const int y0 = static_cast<int>(fy) % cells;
    const int x1 = (x0 + 1) % cells;
    const int y1 = (y0 + 1) % cells;
    const double tx = Smooth(fx - std::floor(fx));
    const double ty = Smooth(fy - std::floor(fy));
    auto at = [&](int cx, int cy) { return lattice[static_cast<std::size_t>(cy * cells + cx)]; };
    const double top = at(x0, y0) + (at(x1, y0) - at(x0, y0)) * tx;
    const double bottom = at(x0, y1) + (at(x1, y1) - at(x0, y1)) * tx;
    return top + (bottom - top) * ty;
}

double TilingNoise::Fractal(const std::vector<TilingNoise>& octaves, double x, double y) {
    double sum = 0.0;
    double weight = 1.0;
    double total = 0.0;
    for (const TilingNoise& octave : octaves) {
        sum += weight * octave.At(x, y);
        total += weight;
        weight *= 0.5;
    }
    return sum / total;
}

std::vector<TilingNoise> MakeOctaves(int base, int count, std::uint64_t seed) {
    std::vector<TilingNoise> octaves;
    for (int i = 0; i < count; ++i)
        octaves.emplace_back(base << i, seed + 101u * static_cast<std::uint64_t>(i));
    return octaves;
}

}  // namespace assetgen
