#include "synth.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace assetgen {
namespace {

constexpr double PI = std::numbers::pi;

double PolyBlep(double t, double dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

// sin(2 pi phase) from a table with linear interpolation: far faster than std::sin and accurate
// to well below 16-bit resolution.
constexpr std::size_t SINE_TABLE_SIZE = 4096;

const std::vector<float>& SineTable() {
    static const std::vector<float> table = [] {
        std::vector<float> values(SINE_TABLE_SIZE + 1);
        for (std::size_t i = 0; i <= SINE_TABLE_SIZE; ++i)
            values[i] = static_cast<float>(std::sin(2.0 * PI * static_cast<double>(i) / SINE_TABLE_SIZE));
        return values;
    }();
    return table;
}

}  // namespace

float FastSine(double phase) {
    const std::vector<float>& table = SineTable();
    const double position = (phase - std::floor(phase)) * SINE_TABLE_SIZE;
    const auto index = static_cast<std::size_t>(position);
    const auto fraction = static_cast<float>(position - static_cast<double>(index));
    return table[index] + fraction * (table[index + 1] - table[index]);
}

double MidiToHz(double note) { return 440.0 * std::pow(2.0, (note - 69.0) / 12.0); }

Svf::Output Svf::Process(float input, double cutoff_hz, double resonance) {
    // Recompute the coefficients only when the cutoff has moved by more than a tenth of a percent:
    // an inaudible step, and it spares a tangent per sample in sweeps.
    if (std::fabs(cutoff_hz - last_cutoff) > 0.001 * cutoff_hz || resonance != last_resonance) {
        last_cutoff = cutoff_hz;
        last_resonance = resonance;
        const double g = std::tan(PI * std::clamp(cutoff_hz, 10.0, SAMPLE_RATE * 0.45) / SAMPLE_RATE);
        k = 1.0 / std::max(resonance, 0.05);
        a1 = 1.0 / (1.0 + g * (g + k));
        a2 = g * a1;
        a3 = g * a2;
    }
    const double v3 = input - ic2;
    const double v1 = a1 * ic1 + a2 * v3;
    const double v2 = ic2 + a2 * ic1 + a3 * v3;
    ic1 = 2.0 * v1 - ic1;
    ic2 = 2.0 * v2 - ic2;
    const double high = input - k * v1 - v2;
    return {static_cast<float>(v2), static_cast<float>(v1), static_cast<float>(high)};
}

double Oscillator::Advance(double hz) {
    const double dt = hz / SAMPLE_RATE;
    phase += dt;
    phase -= std::floor(phase);
    return dt;
}

float Oscillator::Sine(double hz) {
    const float value = FastSine(phase);
    Advance(hz);
    return value;
}

float Oscillator::Saw(double hz) {
    const double dt = hz / SAMPLE_RATE;
    const double value = 2.0 * phase - 1.0 - PolyBlep(phase, dt);
    Advance(hz);
    return static_cast<float>(value);
}

float Oscillator::Square(double hz, double width) {
    const double dt = hz / SAMPLE_RATE;
    double value = phase < width ? 1.0 : -1.0;
    value += PolyBlep(phase, dt);
    double shifted = phase + (1.0 - width);
    shifted -= std::floor(shifted);
    value -= PolyBlep(shifted, dt);
    Advance(hz);
    return static_cast<float>(value);
}

float Oscillator::Triangle(double hz) {
    // Triangle harmonics fall off fast enough that the plain waveform does not audibly alias.
    const double value = 1.0 - 4.0 * std::fabs(phase - 0.5);
    Advance(hz);
    return static_cast<float>(value);
}

float Adsr(double t, double held, double attack, double decay, double sustain, double release) {
    if (t < 0.0)
        return 0.0f;
    auto level_at = [&](double time) {
        if (time < attack)
            return time / attack;
        if (time < attack + decay)
            return 1.0 - (1.0 - sustain) * (time - attack) / decay;
        return sustain;
    };
    if (t < held)
        return static_cast<float>(level_at(t));
    const double end_level = level_at(held);
    if (t >= held + release)
        return 0.0f;
    return static_cast<float>(end_level * (1.0 - (t - held) / release));
}

void FadeEdges(std::vector<float>& samples, std::size_t fade_in, std::size_t fade_out) {
    const std::size_t n = samples.size();
    fade_in = std::min(fade_in, n);
    fade_out = std::min(fade_out, n);
    for (std::size_t i = 0; i < fade_in; ++i)
        samples[i] *= static_cast<float>(0.5 - 0.5 * std::cos(PI * static_cast<double>(i) / static_cast<double>(fade_in)));
    for (std::size_t i = 0; i < fade_out; ++i)
        samples[n - 1 - i] *= static_cast<float>(0.5 - 0.5 * std::cos(PI * static_cast<double>(i) / static_cast<double>(fade_out)));
}

void NormalisePeak(std::vector<float>& samples, float peak) {
    float largest = 0.0f;
    for (float s : samples)
        largest = std::max(largest, std::fabs(s));
    if (largest <= 0.0f)
        return;
    const float gain = peak / largest;
    for (float& s : samples)
        s *= gain;
}

}  // namespace assetgen
