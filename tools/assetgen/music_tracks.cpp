#include "music_tracks.hpp"

#include "mp3_encoder.hpp"
#include "sequencer.hpp"
#include "synth.hpp"

#include <asset/sound_format.hpp>

#include <array>
#include <future>
#include <stdexcept>
#include <string>
#include <vector>

namespace assetgen {
namespace {

constexpr int KBPS = 160;
constexpr float MASTER_PEAK = 0.85f;

// A bar's harmony: the pad voicing, the bass root and the arpeggio's chord tones.
struct Chord_t {
    const char* pad;
    const char* bass_low;
    const char* bass_high;
    std::array<const char*, 3> tones;
};

const Chord_t A_MINOR{"A3+C4+E4", "A2", "A3", {"A4", "C5", "E5"}};
const Chord_t F_MAJOR{"F3+A3+C4", "F2", "F3", {"F4", "A4", "C5"}};
const Chord_t C_MAJOR{"G3+C4+E4", "C3", "C4", {"C5", "E5", "G5"}};
const Chord_t G_MAJOR{"G3+B3+D4", "G2", "G3", {"G4", "B4", "D5"}};
const Chord_t D_MINOR{"A3+D4+F4", "D3", "D4", {"D5", "F5", "A5"}};
const Chord_t E_MAJOR{"G#3+B3+E4", "E2", "E3", {"E4", "G#4", "B4"}};
const Chord_t E_MINOR{"G3+B3+E4", "E2", "E3", {"E4", "G4", "B4"}};
const Chord_t BB_MAJOR{"Bb3+D4+F4", "Bb1", "Bb2", {"Bb4", "D5", "F5"}};
const Chord_t F_OVER_A{"A3+C4+F4", "F2", "F3", {"F4", "A4", "C5"}};
const Chord_t C_OPEN{"G3+C4+E4", "C2", "C3", {"C5", "E5", "G5"}};
const Chord_t G_MINOR{"G3+Bb3+D4", "G1", "G2", {"G4", "Bb4", "D5"}};
const Chord_t A_MAJOR{"A3+C#4+E4", "A1", "A2", {"A4", "C#5", "E5"}};
const Chord_t D_LOW{"A3+D4+F4", "D2", "D3", {"D5", "F5", "A5"}};

std::string Repeat(const std::string& pattern, int times) {
    std::string out;
    for (int i = 0; i < times; ++i)
        out += pattern + ' ';
    return out;
}

// Sixteen sixteenths rising and falling through the chord over two octaves.
std::string Arpeggio(const Chord_t& chord) {
    const std::string a = chord.tones[0], b = chord.tones[1], c = chord.tones[2];
    std::string high = a;
    high.back() = static_cast<char>(high.back() + 1);
    return Repeat(a + ' ' + b + ' ' + c + ' ' + high + ' ' + c + ' ' + b + ' ' + a + ' ' + b, 2);
}

// Driving, in A minor at 140 BPM: four-to-the-floor, pumping eighth bass, saw lead; 24 bars.
StereoBuffer Mission() {
    Sequencer seq(140.0, 96);
    const Part_t kick{voice::Kick, 0.8f, 0.0f, 0.03f, 0.0f};
    const Part_t snare{voice::Snare, 0.45f, 0.08f, 0.25f, 0.0f};
    const Part_t hat{voice::ClosedHat, 0.22f, 0.35f, 0.05f, 0.0f};
    const Part_t crash{voice::OpenHat, 0.3f, -0.35f, 0.3f, 0.0f};
    const Part_t bass{voice::Bass, 0.5f, 0.0f, 0.0f, 0.0f};
    const Part_t lead{voice::SawLead, 0.36f, -0.05f, 0.25f, 0.22f};
    const Part_t pad{voice::Pad, 0.3f, 0.0f, 0.5f, 0.0f};
    const Part_t arp{voice::Pluck, 0.13f, 0.45f, 0.25f, 0.25f};

    const std::vector<const Chord_t*> bars = {
        &A_MINOR, &F_MAJOR, &C_MAJOR, &G_MAJOR, &A_MINOR, &F_MAJOR, &C_MAJOR, &G_MAJOR,
        &D_MINOR, &A_MINOR, &F_MAJOR, &E_MAJOR, &D_MINOR, &A_MINOR, &F_MAJOR, &G_MAJOR,
        &A_MINOR, &F_MAJOR, &C_MAJOR, &G_MAJOR, &A_MINOR, &F_MAJOR, &C_MAJOR, &G_MAJOR,
    };
    for (std::size_t bar = 0; bar < bars.size(); ++bar) {
        const Chord_t& chord = *bars[bar];
        const double beat = 4.0 * static_cast<double>(bar);
        const std::string low = chord.bass_low, high = chord.bass_high;
        seq.Line(bass, beat, 0.5, low + ' ' + low + ' ' + high + ' ' + low + ' ' + low + ' ' + low + ' ' + high + ' ' + low, 1.0f);
        seq.Line(pad, beat, 4.0, chord.pad, 0.8f);
        seq.Hits(kick, beat, 0.25, "X...x...X...x...", 1.0f);
        const bool section_end = bar % 8 == 7;
        const bool last = bar + 1 == bars.size();
        seq.Hits(snare, beat, 0.25, last ? "....X...X.xXxXXX" : section_end ? "....X.......X.xx" : "....X.......X...", 1.0f);
        if (bar >= 16)
            seq.Hits(hat, beat, 0.25, "xxXxxxXxxxXxxxXx", 1.0f);
        else
            seq.Hits(hat, beat, 0.25, "X.x.X.x.X.x.X.x.", 1.0f);
        if (bar % 8 == 0)
            seq.Hits(crash, beat, 4.0, "X", 1.0f);
        if (bar >= 16)
            seq.Line(arp, beat, 0.25, Arpeggio(chord), 1.0f);
    }

    const std::string theme_a =
        "A4 . C5 E5 - . D5 C5 | F5 - E5 - C5 - A4 . | G4 - C5 - E5 - G5 - | F5 E5 D5 - B4 - G4 . |"
        "A4 . C5 E5 - . D5 C5 | F5 - E5 - C5 - A5 . | G5 - E5 - C5 - E5 - | D5 - - - B4 - - . |";
    const std::string theme_b =
        "F5 - - E5 D5 - A4 - | E5 - - D5 C5 - A4 - | C5 - A4 - F4 - A4 C5 | B4 - - - G#4 - E4 . |"
        "F5 - - E5 D5 - A4 - | E5 - - D5 C5 - E5 - | A5 - G5 - F5 - E5 F5 | G5 - - - D5 - B4 . |";
    double beat = seq.Line(lead, 0.0, 0.5, theme_a, 1.0f);
    beat = seq.Line(lead, beat, 0.5, theme_b, 1.0f);
    seq.Line(lead, beat, 0.5, theme_a, 1.0f);
    return seq.Mix(MASTER_PEAK);
}

// Inviting, in C major at 100 BPM: a singing pulse lead over a relaxed groove; 16 bars.
StereoBuffer Menu() {
    Sequencer seq(100.0, 64);
    const Part_t kick{voice::Kick, 0.75f, 0.0f, 0.03f, 0.0f};
    const Part_t snare{voice::Snare, 0.3f, 0.1f, 0.35f, 0.0f};
    const Part_t hat{voice::ClosedHat, 0.16f, 0.3f, 0.1f, 0.0f};
    const Part_t bass{voice::Bass, 0.42f, 0.0f, 0.0f, 0.0f};
    const Part_t lead{voice::PulseLead, 0.4f, 0.0f, 0.35f, 0.3f};
    const Part_t pad{voice::Pad, 0.34f, 0.0f, 0.5f, 0.0f};
    const Part_t arp{voice::Pluck, 0.12f, -0.4f, 0.3f, 0.2f};

    const std::vector<const Chord_t*> bars = {
        &C_MAJOR, &G_MAJOR, &A_MINOR, &F_MAJOR, &C_MAJOR, &G_MAJOR, &A_MINOR, &F_MAJOR,
        &F_MAJOR, &G_MAJOR, &E_MINOR, &A_MINOR, &F_MAJOR, &G_MAJOR, &C_MAJOR, &C_MAJOR,
    };
    for (std::size_t bar = 0; bar < bars.size(); ++bar) {
        const Chord_t& chord = *bars[bar];
        const double beat = 4.0 * static_cast<double>(bar);
        const std::string low = chord.bass_low, high = chord.bass_high;
        seq.Line(bass, beat, 0.5, low + " - - " + low + " - - " + high + " -", 1.0f);
        seq.Line(pad, beat, 4.0, chord.pad, 0.8f);
        const std::string a = chord.tones[0], b = chord.tones[1], c = chord.tones[2];
        seq.Line(arp, beat, 0.5, a + ' ' + b + ' ' + c + ' ' + b + ' ' + a + ' ' + b + ' ' + c + ' ' + b, 1.0f);
        seq.Hits(kick, beat, 0.25, "X.......x.x.....", 1.0f);
        seq.Hits(snare, beat, 0.25, bar == 15 ? "....X.......X.xx" : "....X.......X...", 1.0f);
        seq.Hits(hat, beat, 0.25, "x.x.X.x.x.x.X.x.", 1.0f);
    }
    const std::string melody =
        "E5 - G5 - C6 - B5 A5 | G5 - - - D5 - - . | C5 - E5 - A5 - G5 E5 | F5 - - - C5 - - . |"
        "E5 - G5 - C6 - D6 E6 | D6 - B5 - G5 - - . | A5 - G5 - E5 - C5 D5 | C5 - - - - - . . |"
        "A5 - - G5 F5 - E5 F5 | G5 - - F5 E5 - D5 E5 | E5 - - D5 B4 - G4 B4 | C5 - E5 - A5 - - . |"
        "A5 - - G5 F5 - C5 F5 | G5 - - A5 B5 - D6 - | C6 - - - G5 - E5 - | C5 - - - - - . . |";
    seq.Line(lead, 0.0, 0.5, melody, 1.0f);
    return seq.Mix(MASTER_PEAK);
}

// Calm, in D minor at 75 BPM: short bell phrases with long rests over a slow pad; 10 bars.
StereoBuffer GameOver() {
    Sequencer seq(75.0, 40);
    const Part_t bell{voice::Bell, 0.75f, 0.1f, 0.5f, 0.25f};
    const Part_t pad{voice::Pad, 0.26f, 0.0f, 0.6f, 0.0f};
    const Part_t bass{voice::SoftBass, 0.5f, 0.0f, 0.1f, 0.0f};
    const Part_t tom{voice::Tom, 0.35f, -0.1f, 0.3f, 0.0f};

    const std::vector<const Chord_t*> bars = {
        &D_LOW, &BB_MAJOR, &F_OVER_A, &C_OPEN, &D_LOW, &BB_MAJOR, &G_MINOR, &A_MAJOR, &D_LOW, &A_MAJOR,
    };
    for (std::size_t bar = 0; bar < bars.size(); ++bar) {
        const Chord_t& chord = *bars[bar];
        const double beat = 4.0 * static_cast<double>(bar);
        seq.Line(pad, beat, 4.0, chord.pad, 0.7f);
        seq.Line(bass, beat, 1.0, std::string(chord.bass_low) + " - - .", 1.0f);
        seq.Play(tom, beat, 1.0, 38.0, 1.0f);
    }
    const std::string melody =
        ". . A4 - D5 - - . | . . F5 - D5 - - . | . . C5 - F5 - A5 - | G5 - - - . . . . |"
        ". . A4 - D5 - - . | . . F5 - D5 - Bb4 - | . . G4 - Bb4 - D5 - | C#5 - - - . . E5 - |"
        "D5 - - - . . . . | . . E5 - C#5 - A4 - |";
    seq.Line(bell, 0.0, 0.5, melody, 1.0f);
    return seq.Mix(MASTER_PEAK);
}

}  // namespace

void MakeMusic(const std::filesystem::path& share) {
    const std::filesystem::path dir = share / "music";
    // The tracks share nothing, so they are made side by side to keep the build short.
    auto make = [&](std::string_view name, StereoBuffer (*compose)()) {
        return std::async(std::launch::async, [=] {
            const StereoBuffer audio = compose();
            if (static_cast<double>(audio.left.size()) < asset::MIN_TRACK_SECONDS * SAMPLE_RATE)
                throw std::logic_error(std::string(name) + " is shorter than a track may be");
            WriteMp3(dir / name, audio, KBPS);
        });
    };
    // In the order of the file table.
    std::future<void> tracks[] = {make(asset::MUSIC_FILES[0], Menu), make(asset::MUSIC_FILES[1], Mission),
                                  make(asset::MUSIC_FILES[2], GameOver)};
    for (std::future<void>& track : tracks)
        track.get();
}

}  // namespace assetgen
