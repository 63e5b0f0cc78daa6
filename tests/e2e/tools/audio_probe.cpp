// Measures what OpenAL's wave driver recorded of the game's output, once the game has closed the
// file. Times are seconds from its start. Commands:
//   rms FILE FROM TO         the RMS level of the stretch FROM..TO
//   match FILE CLIP FROM TO  how clearly the sound CLIP (a mono file) is heard starting within
//                            FROM..TO: the best normalised correlation of the changes of the
//                            channels' mix with its own, 0 (absent) to 1 (alone); music around
//                            it lowers the figure but hardly ever imitates the clip
#include <SFML/Audio/InputSoundFile.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Recording {
    unsigned channels = 0, rate = 0;
    std::vector<sf::Int16> samples;
};

Recording Load(const char* file) {
    sf::InputSoundFile input;
    if (!input.openFromFile(file)) {
        std::fprintf(stderr, "audio_probe: cannot read %s\n", file);
        std::exit(2);
    }
    Recording recording{input.getChannelCount(), input.getSampleRate(), {}};
    recording.samples.resize(static_cast<std::size_t>(input.getSampleCount()));
    recording.samples.resize(static_cast<std::size_t>(input.read(recording.samples.data(), recording.samples.size())));
    return recording;
}

double Rms(const Recording& r, std::size_t from, std::size_t to) {
    double sum = 0;
    for (std::size_t i = from; i < to; ++i) sum += static_cast<double>(r.samples[i]) * r.samples[i];
    return to > from ? std::sqrt(sum / static_cast<double>(to - from)) : 0.0;
}

std::size_t SampleAt(const Recording& r, double seconds) {
    const double index = std::max(0.0, seconds) * r.rate * r.channels;
    return std::min(r.samples.size(), static_cast<std::size_t>(index) / r.channels * r.channels);
}

// The channels of each frame averaged.
std::vector<double> Mono(const Recording& r) {
    std::vector<double> mono(r.samples.size() / r.channels);
    for (std::size_t frame = 0; frame < mono.size(); ++frame) {
        double sum = 0;
        for (unsigned c = 0; c < r.channels; ++c) sum += r.samples[frame * r.channels + c];
        mono[frame] = sum / r.channels;
    }
    return mono;
}

// Sample-to-sample changes: the highs, where a click is bright and the music's bass and pads are
// quiet, so the clip stands out far better than in the plain signal.
std::vector<double> Changes(std::vector<double> signal) {
    for (std::size_t i = signal.size(); i-- > 1;) signal[i] -= signal[i - 1];
    if (!signal.empty()) signal.erase(signal.begin());
    return signal;
}

double BestMatch(const Recording& r, const Recording& clip, double from, double to) {
    const std::vector<double> heard = Changes(Mono(r)), wanted = Changes(Mono(clip));
    double wanted_energy = 0;
    for (double v : wanted) wanted_energy += v * v;
    if (wanted.empty() || wanted_energy == 0 || wanted.size() > heard.size()) return 0.0;
    const std::size_t last = std::min(SampleAt(r, to) / r.channels, heard.size() - wanted.size());
    const std::size_t first = std::min(SampleAt(r, from) / r.channels, last);
    double best = 0, window_energy = 0;
    for (std::size_t k = 0; k < wanted.size(); ++k) window_energy += heard[first + k] * heard[first + k];
    for (std::size_t start = first; start < last; ++start) {
        double dot = 0;
        for (std::size_t k = 0; k < wanted.size(); ++k) dot += heard[start + k] * wanted[k];
        if (window_energy > 0) best = std::max(best, dot / std::sqrt(wanted_energy * window_energy));
        const double leaving = heard[start], entering = heard[start + wanted.size()];
        window_energy = std::max(0.0, window_energy - leaving * leaving + entering * entering);
    }
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "rms" && argc == 5) {
        const Recording r = Load(argv[2]);
        std::printf("%.0f\n", Rms(r, SampleAt(r, std::atof(argv[3])), SampleAt(r, std::atof(argv[4]))));
        return 0;
    }
    if (command == "match" && argc == 6) {
        const Recording r = Load(argv[2]), clip = Load(argv[3]);
        std::printf("%.3f\n", BestMatch(r, clip, std::atof(argv[4]), std::atof(argv[5])));
        return 0;
    }
    std::fprintf(stderr, "usage: audio_probe rms FILE FROM TO | match FILE CLIP FROM TO\n");
    return 2;
}
