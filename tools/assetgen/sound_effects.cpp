#include "sound_effects.hpp"

#include "noise.hpp"
#include "synth.hpp"
#include "wav_writer.hpp"

#include <holder/resource_id.hpp>

#include <cmath>
#include <cstddef>
#include <vector>

namespace assetgen {
namespace {

// Peak level of every effect: loud, with headroom so the 16-bit samples never clip.
constexpr float PEAK = 0.89f;

// Calls sample(t) for every sample of a sound `seconds` long.
template <typename SampleFn>
std::vector<float> Render(double seconds, SampleFn&& sample) {
    std::vector<float> out(static_cast<std::size_t>(seconds * SAMPLE_RATE));
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = sample(static_cast<double>(i) / SAMPLE_RATE);
    return out;
}

// Every effect leaves here faded at both ends and peak-normalised.
std::vector<float> Finish(std::vector<float> samples, double fade_out_seconds) {
    FadeEdges(samples, SAMPLE_RATE / 700, static_cast<std::size_t>(fade_out_seconds * SAMPLE_RATE));
    NormalisePeak(samples, PEAK);
    return samples;
}

// A bright, dry snap with a short downward chirp: the player's guns.
std::vector<float> AlliedGunfire() {
    Noise noise(0xA111ED);
    Oscillator tone, thump;
    Svf crack;
    return Finish(Render(0.16, [&](double t) {
        const double chirp = 250.0 + 1400.0 * std::exp(-t * 25.0);
        const float body = tone.Square(chirp, 0.35) * static_cast<float>(std::exp(-t * 30.0));
        const float hiss = crack.Process(noise.Bipolar(), 3200.0, 1.2).band * static_cast<float>(std::exp(-t * 55.0));
        const float low = thump.Sine(80.0 + 70.0 * std::exp(-t * 30.0)) * static_cast<float>(std::exp(-t * 40.0));
        return 0.32f * body + 1.1f * hiss + 0.5f * low;
    }), 0.03);
}

// Lower and buzzier than the allied shot, so the two sides are told apart by ear.
std::vector<float> EnemyGunfire() {
    Noise noise(0xE7E7);
    Oscillator buzz, sub;
    Svf tone_filter, noise_filter;
    return Finish(Render(0.22, [&](double t) {
        const double pitch = 110.0 + 420.0 * std::exp(-t * 14.0);
        const float saw = tone_filter.Process(buzz.Saw(pitch), 900.0 + 2500.0 * std::exp(-t * 20.0), 2.0).low;
        const float grit = noise_filter.Process(noise.Bipolar(), 1300.0, 0.8).low;
        const float low = sub.Square(pitch * 0.5, 0.5);
        return (0.55f * saw + 0.2f * low) * static_cast<float>(std::exp(-t * 16.0)) +
               0.9f * grit * static_cast<float>(std::exp(-t * 32.0));
    }), 0.04);
}

struct Blast {
    std::uint64_t seed;
    double seconds;
    double rumble_hz;     // starting pitch of the low boom
    double rumble_decay;  // per second
    double pop_times[2];  // secondary bursts of debris, in seconds (negative: none)
};

// Noise whose brightness falls quickly, a slower low rumble and a few debris bursts.
std::vector<float> Explosion(const Blast& blast) {
    Noise noise(blast.seed);
    Oscillator boom;
    Svf body, rumble, crackle;
    float crackle_gain = 0.0f;
    return Finish(Render(blast.seconds, [&](double t) {
        const float white = noise.Bipolar();
        const double cutoff = 180.0 + 5200.0 * std::exp(-t * 5.5);
        const float burst = body.Process(white, cutoff, 0.7).low * static_cast<float>(std::exp(-t * 2.6));
        const float deep = rumble.Process(white, 140.0, 1.4).low * 3.0f * static_cast<float>(std::exp(-t * blast.rumble_decay));
        const float boom_tone = boom.Sine(blast.rumble_hz * (0.6 + 0.4 * std::exp(-t * 3.0))) *
                                static_cast<float>(std::exp(-t * 3.5));
        float pops = 0.0f;
        for (double at : blast.pop_times) {
            if (at >= 0.0 && t >= at)
                pops += static_cast<float>(std::exp(-(t - at) * 9.0));
        }
        // Crackle: sparse random clicks thinning out over time.
        if (noise.Unit() < 0.004 * std::exp(-t * 2.0))
            crackle_gain = 1.0f;
        crackle_gain *= 0.985f;
        const float crack = crackle.Process(white, 2500.0, 0.9).band * crackle_gain;
        const float attack = t < 0.03 ? static_cast<float>(1.0 - t / 0.03) : 0.0f;
        return burst * (1.0f + 0.8f * pops) + deep + 0.5f * boom_tone + 0.7f * crack + 0.6f * attack * white;
    }), 0.25);
}

// Resonant noise sweeping upwards over an ignition thump: a rocket leaving the rail.
std::vector<float> LaunchMissile() {
    Noise noise(0x5EED5);
    Svf sweep, hiss;
    Oscillator whine, thump;
    constexpr double length = 0.9;
    return Finish(Render(length, [&](double t) {
        const double progress = t / length;
        const double centre = 350.0 * std::pow(13.0, progress);
        const float white = noise.Bipolar();
        const float swept = sweep.Process(white, centre, 3.5).band;
        const float air = hiss.Process(white, 6000.0, 0.7).high * 0.12f;
        const float tone = whine.Saw(180.0 + 700.0 * progress * progress) * 0.06f;
        const float ignition = thump.Sine(70.0 + 60.0 * std::exp(-t * 20.0)) * static_cast<float>(std::exp(-t * 18.0));
        const double swell = std::min(1.0, t / 0.06) * std::pow(1.0 - progress, 0.8);
        return static_cast<float>(swell) * (1.4f * swept + air + tone) + 0.8f * ignition;
    }), 0.1);
}

// Three rising bell notes: bright, short and unmistakably good news.
std::vector<float> CollectPickup() {
    constexpr double notes[3] = {88.0, 95.0, 100.0};  // E6, B6, E7
    constexpr double spacing = 0.065;
    Oscillator partials[3][3];
    return Finish(Render(0.55, [&](double t) {
        float sum = 0.0f;
        for (int n = 0; n < 3; ++n) {
            const double start = n * spacing;
            const double hz = MidiToHz(notes[n]);
            const double local = t - start;
            const float gain = local < 0.0 ? 0.0f
                                           : static_cast<float>(std::min(1.0, local / 0.002) * std::exp(-local * 8.0));
            // Bell-like: a fundamental with two inharmonic partials that die faster.
            sum += gain * (partials[n][0].Sine(hz) + 0.35f * partials[n][1].Sine(hz * 2.76) *
                                                         static_cast<float>(std::exp(-std::max(local, 0.0) * 12.0)) +
                           0.15f * partials[n][2].Sine(hz * 5.4) *
                               static_cast<float>(std::exp(-std::max(local, 0.0) * 20.0)));
        }
        return sum;
    }), 0.12);
}

// A soft, short tick for menu buttons.
std::vector<float> ButtonClick() {
    Noise noise(0xB077);
    Svf tick;
    Oscillator high, low;
    return Finish(Render(0.07, [&](double t) {
        const float tone = (high.Sine(1750.0) + 0.6f * low.Sine(880.0)) * static_cast<float>(std::exp(-t * 85.0));
        const float click = tick.Process(noise.Bipolar(), 4000.0, 0.8).high * static_cast<float>(std::exp(-t * 400.0));
        return tone + 0.5f * click;
    }), 0.02);
}

}  // namespace

void MakeSoundEffects(const std::filesystem::path& share) {
    // Named as the game looks them up.
    const auto file = [&share](holder::SoundId id) {
        return share / "sound" / std::filesystem::path(holder::sound_files.at(static_cast<std::size_t>(id))).filename();
    };
    using holder::SoundId;
    WriteMonoWav(file(SoundId::AlliedGunfire), AlliedGunfire());
    WriteMonoWav(file(SoundId::EnemyGunfire), EnemyGunfire());
    WriteMonoWav(file(SoundId::Explosion1), Explosion({0xB00A1, 1.6, 58.0, 2.4, {-1.0, -1.0}}));
    WriteMonoWav(file(SoundId::Explosion2), Explosion({0xB00A2, 2.1, 46.0, 1.8, {0.28, 0.62}}));
    WriteMonoWav(file(SoundId::LaunchMissile), LaunchMissile());
    WriteMonoWav(file(SoundId::CollectPickup), CollectPickup());
    WriteMonoWav(file(SoundId::Button), ButtonClick());
}

}  // namespace assetgen
