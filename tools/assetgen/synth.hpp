#pragma once

#include <asset/sound_format.hpp>

#include <cstddef>
#include <vector>

namespace assetgen {

inline constexpr int SAMPLE_RATE = asset::SAMPLE_RATE;

// Equal temperament, A4 = MIDI 69 = 440 Hz.
double MidiToHz(double note);

// sin(2 pi phase), from a lookup table.
float FastSine(double phase);

// Topology-preserving state-variable filter: low, band and high pass from one stage, stable under
// cutoff sweeps.
class Svf {
public:
    struct Output {
        float low;
        float band;
        float high;
    };
    Output Process(float input, double cutoff_hz, double resonance);

private:
    double ic1 = 0.0;
    double ic2 = 0.0;
    double last_cutoff = -1.0;
    double last_resonance = -1.0;
    double k = 0.0;
    double a1 = 0.0;
    double a2 = 0.0;
    double a3 = 0.0;
};

// Band-limited oscillator (PolyBLEP edges) so bright notes do not alias.
class Oscillator {
public:
    explicit Oscillator(double start_phase = 0.0) : phase(start_phase) {}
    float Sine(double hz);
    float Saw(double hz);
    float Square(double hz, double width = 0.5);
    float Triangle(double hz);

private:
    double Advance(double hz);
    double phase;
};

// Attack-decay-sustain-release level at time t (seconds) of a note held for `held` seconds.
float Adsr(double t, double held, double attack, double decay, double sustain, double release);

// Raised-cosine fades so a sound starts and ends exactly at zero.
void FadeEdges(std::vector<float>& samples, std::size_t fade_in, std::size_t fade_out);
// Scales so the largest magnitude equals `peak`.
void NormalisePeak(std::vector<float>& samples, float peak);

}  // namespace assetgen
