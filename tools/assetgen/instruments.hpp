#pragma once

#include <cstdint>
#include <vector>

namespace assetgen {

// One note handed to a voice: pitch, how long the key is held, loudness and a seed for any noise.
struct NoteEvent_t {
    double hz;
    double held;  // seconds
    float velocity;
    std::uint64_t seed;
};

// A voice renders one note, release tail included, as mono samples.
using Voice = std::vector<float> (*)(const NoteEvent_t& note);

namespace voice {

std::vector<float> Kick(const NoteEvent_t& note);
std::vector<float> Snare(const NoteEvent_t& note);
std::vector<float> ClosedHat(const NoteEvent_t& note);
std::vector<float> OpenHat(const NoteEvent_t& note);
// A soft low drum for calm music.
std::vector<float> Tom(const NoteEvent_t& note);
// Filtered saw with a plucky filter envelope and a sub octave.
std::vector<float> Bass(const NoteEvent_t& note);
// Round sine-and-triangle bass for quiet passages.
std::vector<float> SoftBass(const NoteEvent_t& note);
// Two detuned saws with delayed vibrato: the driving lead.
std::vector<float> SawLead(const NoteEvent_t& note);
// A mellow pulse lead.
std::vector<float> PulseLead(const NoteEvent_t& note);
// Slow, wide, filtered chord pad.
std::vector<float> Pad(const NoteEvent_t& note);
// Short square pluck for arpeggios.
std::vector<float> Pluck(const NoteEvent_t& note);
// Sine bell with inharmonic partials.
std::vector<float> Bell(const NoteEvent_t& note);

}  // namespace voice
}  // namespace assetgen
