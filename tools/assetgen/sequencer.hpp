#pragma once

#include "instruments.hpp"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace assetgen {

// How one instrument sits in the mix.
struct Part_t {
    Voice voice;
    float gain;
    float pan;          // -1 left .. +1 right
    float reverb_send;  // share of the signal that also feeds the reverb
    float echo_send;    // share that feeds the tempo-synced echo
};

struct StereoBuffer {
    std::vector<float> left;
    std::vector<float> right;
};

// Places notes on a loop of whole beats and mixes them. Everything is rendered circularly: a note
// or an effect tail running past the loop's end continues at its start, so the loop repeats
// without a seam.
class Sequencer {
public:
    // The tempo must give a whole number of samples per beat.
    Sequencer(double bpm, int beats);

    std::size_t LoopLength() const { return loop_length; }
    double SecondsPerBeat() const { return 60.0 / bpm; }

    // One note (or drum hit) at `beat`, held `beats_held`; midi may be fractional.
    void Play(const Part_t& part, double beat, double beats_held, double midi, float velocity);
    // A line of space-separated steps, each `step` beats long: a note ("A4", "C#5", "Bb3"), a chord
    // of notes joined by '+' ("A3+C4+E4"), "-" to hold the previous step longer, "." for a rest; "|" marks a bar and takes no time.
    // Returns the beat after the last step.
    double Line(const Part_t& part, double beat, double step, std::string_view steps, float velocity);
    // A drum row: 'x' a hit, 'X' an accent, anything else a rest; one character per step.
    double Hits(const Part_t& part, double beat, double step, std::string_view row, float velocity);

    // Reverb and echo applied (periodically), then soft-limited and normalised to `peak`.
    StereoBuffer Mix(float peak) const;

private:
    void AddCircular(std::vector<float>& bus, const std::vector<float>& sound, std::size_t start, float gain) const;

    double bpm;
    std::size_t samples_per_beat;
    std::size_t loop_length;
    std::uint64_t note_count = 0;
    StereoBuffer dry;
    std::vector<float> reverb_bus;  // mono feeds of the effects
    std::vector<float> echo_bus;
};

}  // namespace assetgen
