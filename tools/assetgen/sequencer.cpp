#include "sequencer.hpp"

#include "room_effects.hpp"
#include "synth.hpp"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <numbers>
#include <stdexcept>
#include <string>

namespace assetgen {
namespace {

// "A4" -> 69, "C#5" -> 73, "Bb3" -> 58.
double ParseNote(std::string_view name) {
    static constexpr int semitones[] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
    if (name.size() < 2 || name[0] < 'A' || name[0] > 'G')
        throw std::invalid_argument("bad note " + std::string(name));
    int semitone = semitones[name[0] - 'A'];
    std::size_t i = 1;
    if (name[i] == '#') {
        ++semitone;
        ++i;
    } else if (name[i] == 'b') {
        --semitone;
        ++i;
    }
    const int octave = std::stoi(std::string(name.substr(i)));
    return 12.0 * (octave + 1) + semitone;
}

std::vector<double> ParseChord(std::string_view token) {
    std::vector<double> notes;
    std::size_t start = 0;
    while (start <= token.size()) {
        const std::size_t plus = std::min(token.find('+', start), token.size());
        notes.push_back(ParseNote(token.substr(start, plus - start)));
        start = plus + 1;
    }
    return notes;
}

// Effect tails die away well within this time (the reverb's within about one second).
constexpr std::size_t EFFECT_WARM_UP = 3 * SAMPLE_RATE;

// Runs a stateful effect over the loop's last seconds first, then over the whole loop: the tail
// from the loop's end thus continues at its start, exactly as when the loop repeats.
template <typename Effect>
StereoBuffer RunLooped(const std::vector<float>& input, Effect& effect) {
    const std::size_t n = input.size();
    StereoBuffer out{std::vector<float>(n), std::vector<float>(n)};
    float discard_left = 0.0f, discard_right = 0.0f;
    for (std::size_t i = n - std::min(n, EFFECT_WARM_UP); i < n; ++i)
        effect.Process(input[i], discard_left, discard_right);
    for (std::size_t i = 0; i < n; ++i)
        effect.Process(input[i], out.left[i], out.right[i]);
    return out;
}

}  // namespace

Sequencer::Sequencer(double bpm_, int beats) : bpm(bpm_) {
    const double per_beat = SAMPLE_RATE * 60.0 / bpm;
    assert(per_beat == std::floor(per_beat));
    samples_per_beat = static_cast<std::size_t>(per_beat);
    loop_length = samples_per_beat * static_cast<std::size_t>(beats);
    dry.left.assign(loop_length, 0.0f);
    dry.right.assign(loop_length, 0.0f);
    reverb_bus.assign(loop_length, 0.0f);
    echo_bus.assign(loop_length, 0.0f);
}

void Sequencer::AddCircular(std::vector<float>& bus, const std::vector<float>& sound, std::size_t start,
                            float gain) const {
    // Written in runs up to the loop's end, then on from its start.
    std::size_t at = start;
    std::size_t done = 0;
    while (done < sound.size()) {
        const std::size_t run = std::min(sound.size() - done, loop_length - at);
        for (std::size_t i = 0; i < run; ++i)
            bus[at + i] += gain * sound[done + i];
        done += run;
        at = 0;
    }
}

void Sequencer::Play(const Part_t& part, double beat, double beats_held, double midi, float velocity) {
    const NoteEvent_t note{MidiToHz(midi), beats_held * SecondsPerBeat(), velocity, 0x5EC0ULL + 7919ULL * note_count++};
    const std::vector<float> sound = part.voice(note);
    const auto start = static_cast<std::size_t>(std::llround(beat * static_cast<double>(samples_per_beat))) % loop_length;
    // Constant-power pan.
    const double angle = (part.pan + 1.0) * std::numbers::pi / 4.0;
    const auto left = static_cast<float>(std::cos(angle) * std::numbers::sqrt2) * part.gain;
    const auto right = static_cast<float>(std::sin(angle) * std::numbers::sqrt2) * part.gain;
    AddCircular(dry.left, sound, start, left);
    AddCircular(dry.right, sound, start, right);
    // The effects take a mono feed and spread it themselves.
    if (part.reverb_send > 0.0f)
        AddCircular(reverb_bus, sound, start, part.gain * part.reverb_send);
    if (part.echo_send > 0.0f)
        AddCircular(echo_bus, sound, start, part.gain * part.echo_send);
}

double Sequencer::Line(const Part_t& part, double beat, double step, std::string_view steps, float velocity) {
    std::vector<double> notes;
    double note_start = beat;
    double note_length = 0.0;
    auto flush = [&] {
        for (double midi : notes)
            Play(part, note_start, note_length, midi, velocity);
        notes.clear();
    };
    std::size_t pos = 0;
    while (pos < steps.size()) {
        // Bar lines are only there for reading.
        if (steps[pos] == ' ' || steps[pos] == '|') {
            ++pos;
            continue;
        }
        const std::size_t end = std::min(steps.find_first_of(" |", pos), steps.size());
        const std::string_view token = steps.substr(pos, end - pos);
        pos = end;
        if (token == "-") {
            note_length += step;
        } else {
            flush();
            if (token != ".") {
                notes = ParseChord(token);
                note_start = beat;
                note_length = step;
            }
        }
        beat += step;
    }
    flush();
    return beat;
}

double Sequencer::Hits(const Part_t& part, double beat, double step, std::string_view row, float velocity) {
    for (char c : row) {
        if (c == 'x' || c == 'X')
            Play(part, beat, step, 60.0, c == 'X' ? velocity : velocity * 0.6f);
        beat += step;
    }
    return beat;
}

StereoBuffer Sequencer::Mix(float peak) const {
    Reverb reverb;
    const StereoBuffer wet = RunLooped(reverb_bus, reverb);
    Echo echo(samples_per_beat * 3 / 4);
    const StereoBuffer echoes = RunLooped(echo_bus, echo);

    StereoBuffer out = dry;
    float largest = 0.0f;
    for (std::size_t i = 0; i < loop_length; ++i) {
        out.left[i] += wet.left[i] + echoes.left[i];
        out.right[i] += wet.right[i] + echoes.right[i];
        largest = std::max({largest, std::fabs(out.left[i]), std::fabs(out.right[i])});
    }
    // Gentle saturation rounds off the few loudest peaks before the final level is set.
    constexpr float drive = 1.3f;
    const float scale = largest > 0.0f ? 1.0f / largest : 1.0f;
    const float norm = peak / std::tanh(drive);
    for (std::vector<float>* channel : {&out.left, &out.right}) {
        for (float& s : *channel)
            s = norm * std::tanh(drive * s * scale);
    }
    return out;
}

}  // namespace assetgen
