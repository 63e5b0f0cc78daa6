#include "instruments.hpp"

#include "noise.hpp"
#include "synth.hpp"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace assetgen::voice {
namespace {

// Renders `seconds` of sound; sample(t) is called once per sample in order.
template <typename SampleFn>
std::vector<float> Render(double seconds, SampleFn&& sample) {
    std::vector<float> out(static_cast<std::size_t>(seconds * SAMPLE_RATE) + 1);
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = sample(static_cast<double>(i) / SAMPLE_RATE);
    // Tails end exactly at zero so nothing clicks where a note stops.
    FadeEdges(out, 0, std::min<std::size_t>(out.size(), 64));
    return out;
}

float Exp(double t, double rate) { return static_cast<float>(std::exp(-t * rate)); }

}  // namespace

std::vector<float> Kick(const NoteEvent_t& note) {
    Oscillator body;
    Noise noise(note.seed);
    Svf click;
    return Render(0.45, [&](double t) {
        const double pitch = 45.0 + 110.0 * std::exp(-t * 28.0);
        const float thump = body.Sine(pitch) * Exp(t, 7.0) * std::min(1.0f, static_cast<float>(t / 0.002));
        const float tick = click.Process(noise.Bipolar(), 3000.0, 0.7).band * Exp(t, 120.0);
        return note.velocity * (thump + 0.4f * tick);
    });
}

std::vector<float> Snare(const NoteEvent_t& note) {
    Oscillator tone;
    Noise noise(note.seed);
    Svf body, air;
    return Render(0.3, [&](double t) {
        const float white = noise.Bipolar();
        const float rattle = body.Process(white, 2200.0, 0.6).band * 1.6f + air.Process(white, 6000.0, 0.7).high * 0.5f;
        const float skin = tone.Sine(185.0 + 40.0 * std::exp(-t * 40.0)) * Exp(t, 30.0);
        return note.velocity * (rattle * Exp(t, 16.0) + 0.6f * skin);
    });
}

std::vector<float> ClosedHat(const NoteEvent_t& note) {
    Noise noise(note.seed);
    Svf filter;
    return Render(0.07, [&](double t) {
        return note.velocity * filter.Process(noise.Bipolar(), 8000.0, 0.8).high * Exp(t, 70.0);
    });
}

std::vector<float> OpenHat(const NoteEvent_t& note) {
    Noise noise(note.seed);
    Svf filter;
    return Render(0.35, [&](double t) {
        return note.velocity * filter.Process(noise.Bipolar(), 7000.0, 0.8).high * Exp(t, 11.0);
    });
}

std::vector<float> Tom(const NoteEvent_t& note) {
    Oscillator body;
    return Render(0.8, [&](double t) {
        const double pitch = note.hz * (1.0 + 0.5 * std::exp(-t * 20.0));
        return note.velocity * body.Sine(pitch) * Exp(t, 5.0) * std::min(1.0f, static_cast<float>(t / 0.004));
    });
}

std::vector<float> Bass(const NoteEvent_t& note) {
    Oscillator saw, sub;
    Svf filter;
    return Render(note.held + 0.08, [&](double t) {
        const double cutoff = 220.0 + 1500.0 * std::exp(-t * 14.0);
        const float raw = saw.Saw(note.hz) + 0.7f * sub.Square(note.hz * 0.5);
        const float amp = Adsr(t, note.held, 0.004, 0.1, 0.75, 0.06);
        return note.velocity * amp * filter.Process(raw, cutoff, 1.6).low;
    });
}

std::vector<float> SoftBass(const NoteEvent_t& note) {
    Oscillator sine, tri;
    return Render(note.held + 0.4, [&](double t) {
        const float amp = Adsr(t, note.held, 0.03, 0.4, 0.7, 0.35);
        return note.velocity * amp * (sine.Sine(note.hz) + 0.25f * tri.Triangle(note.hz * 2.0));
    });
}

std::vector<float> SawLead(const NoteEvent_t& note) {
    Oscillator a, b(0.37), vibrato;
    Svf filter;
    return Render(note.held + 0.15, [&](double t) {
        const double wobble = 1.0 + 0.004 * std::min(1.0, std::max(0.0, t - 0.18) / 0.2) * vibrato.Sine(5.5);
        const double hz = note.hz * wobble;
        const float raw = a.Saw(hz * 1.004) + b.Saw(hz * 0.996);
        const double cutoff = 1800.0 + 2600.0 * std::exp(-t * 6.0);
        const float amp = Adsr(t, note.held, 0.006, 0.15, 0.8, 0.12);
        return note.velocity * amp * 0.6f * filter.Process(raw, cutoff, 0.9).low;
    });
}

std::vector<float> PulseLead(const NoteEvent_t& note) {
    Oscillator osc, lfo, vibrato;
    Svf filter;
    return Render(note.held + 0.3, [&](double t) {
        const double width = 0.3 + 0.12 * lfo.Sine(0.8);
        const double wobble = 1.0 + 0.003 * std::min(1.0, std::max(0.0, t - 0.25) / 0.3) * vibrato.Sine(5.0);
        const float amp = Adsr(t, note.held, 0.02, 0.3, 0.7, 0.28);
        return note.velocity * amp * 0.7f * filter.Process(osc.Square(note.hz * wobble, width), 2400.0, 0.8).low;
    });
}

std::vector<float> Pad(const NoteEvent_t& note) {
    Oscillator a(0.1), b(0.5), c(0.8), lfo;
    Svf filter;
    return Render(note.held + 1.0, [&](double t) {
        const float raw = a.Saw(note.hz * 0.995) + b.Saw(note.hz * 1.005) + 0.5f * c.Saw(note.hz * 2.002);
        const double cutoff = 900.0 + 300.0 * lfo.Sine(0.3);
        const float amp = Adsr(t, note.held, 0.35, 0.5, 0.85, 0.9);
        return note.velocity * amp * 0.3f * filter.Process(raw, cutoff, 0.8).low;
    });
}

std::vector<float> Pluck(const NoteEvent_t& note) {
    Oscillator osc;
    Svf filter;
    return Render(note.held + 0.2, [&](double t) {
        const double cutoff = 500.0 + 4000.0 * std::exp(-t * 18.0);
        const float amp = Exp(t, 9.0) * Adsr(t, note.held, 0.002, 0.0, 1.0, 0.15);
        return note.velocity * amp * filter.Process(osc.Square(note.hz, 0.4), cutoff, 1.0).low;
    });
}

std::vector<float> Bell(const NoteEvent_t& note) {
    Oscillator p1, p2, p3, p4;
    return Render(note.held + 3.0, [&](double t) {
        const float attack = std::min(1.0f, static_cast<float>(t / 0.004));
        const float body = p1.Sine(note.hz) * Exp(t, 1.6) + 0.5f * p2.Sine(note.hz * 2.0) * Exp(t, 2.5) +
                           0.25f * p3.Sine(note.hz * 3.01) * Exp(t, 4.0) + 0.12f * p4.Sine(note.hz * 4.2) * Exp(t, 7.0);
        return note.velocity * attack * 0.6f * body;
    });
}

}  // namespace assetgen::voice
