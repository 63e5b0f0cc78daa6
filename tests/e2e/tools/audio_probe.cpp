// Measures what OpenAL's wave driver recorded of the game's output (16-bit samples). Commands:
//   seconds FILE BYTES       the playing time at which the file held BYTES bytes
//   levels FILE FROM TO      "RMS LOUDEST" of the stretch FROM..TO seconds: its overall RMS and
//                            the RMS of its loudest 10 ms window
//   match FILE CLIP FROM TO  how clearly the sound CLIP (a mono file) is heard starting within
//                            FROM..TO seconds: the best normalised correlation of the changes
//                            of the channels' mix with its own, 0 (absent) to 1 (alone); music
//                            around it lowers the figure but hardly ever imitates the clip
// The driver writes as it plays and fills in the sizes only when it closes, so a data chunk
// without a size runs to the end of the file.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

struct Recording {
    unsigned channels = 0, rate = 0;
    std::size_t data_at = 0;  // byte offset of the first sample
    std::vector<std::int16_t> samples;
};

std::uint32_t Little(const std::vector<unsigned char>& bytes, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = value << 8 | bytes[at + static_cast<std::size_t>(i)];
    return value;
}

Recording Load(const char* file) {
    std::ifstream in(file, std::ios::binary);
    const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), {});
    Recording recording;
    bool sixteen_bits = false;
    for (std::size_t at = 12; at + 8 <= bytes.size();) {
        const std::string id(bytes.begin() + static_cast<long>(at), bytes.begin() + static_cast<long>(at + 4));
        std::size_t size = Little(bytes, at + 4, 4);
        at += 8;
        if (id == "fmt " && at + 16 <= bytes.size()) {
            recording.channels = Little(bytes, at + 2, 2);
            recording.rate = Little(bytes, at + 4, 4);
            sixteen_bits = Little(bytes, at + 14, 2) == 16;
        } else if (id == "data") {
            if (size == 0 || at + size > bytes.size()) size = bytes.size() - at;
            recording.data_at = at;
            recording.samples.resize(size / 2);
            std::memcpy(recording.samples.data(), &bytes[at], recording.samples.size() * 2);
            break;
        }
        at += size + (size & 1);
    }
    if (!sixteen_bits || recording.channels == 0 || recording.rate == 0) {
        std::fprintf(stderr, "audio_probe: %s is no 16-bit recording\n", file);
        std::exit(2);
    }
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
    const std::size_t first = SampleAt(r, from) / r.channels, last = SampleAt(r, to) / r.channels;
    if (wanted.empty() || wanted_energy == 0 || last + wanted.size() > heard.size()) return 0.0;
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
    if (command == "seconds" && argc == 4) {
        const Recording r = Load(argv[2]);
        const double bytes = std::atof(argv[3]) - static_cast<double>(r.data_at);
        std::printf("%.3f\n", std::max(0.0, bytes) / (2.0 * r.channels * r.rate));
        return 0;
    }
    if (command == "levels" && argc == 5) {
        const Recording r = Load(argv[2]);
        const std::size_t from = SampleAt(r, std::atof(argv[3])), to = SampleAt(r, std::atof(argv[4]));
        const std::size_t window = r.rate / 100 * r.channels;
        double loudest = 0;
        for (std::size_t at = from; at + window <= to; at += window / 2)
            loudest = std::max(loudest, Rms(r, at, at + window));
        std::printf("%.0f %.0f\n", Rms(r, from, to), loudest);
        return 0;
    }
    if (command == "match" && argc == 6) {
        const Recording r = Load(argv[2]), clip = Load(argv[3]);
        std::printf("%.3f\n", BestMatch(r, clip, std::atof(argv[4]), std::atof(argv[5])));
        return 0;
    }
    std::fprintf(stderr, "usage: audio_probe seconds FILE BYTES | levels FILE FROM TO | match FILE CLIP FROM TO\n");
    return 2;
}
