#include "audio_test_files.hpp"

#include <holder/resource_id.hpp>

#include <SFML/Audio/SoundBuffer.hpp>

#include <lame/lame.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <numbers>
#include <stdexcept>

namespace audio_test {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kirrow_audio_XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary directory");
    path = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

std::vector<sf::Int16> Tone(float frequency, float seconds, unsigned rate, unsigned channels, float amplitude) {
    const auto frames = static_cast<std::size_t>(seconds * static_cast<float>(rate));
    std::vector<sf::Int16> samples;
    samples.reserve(frames * channels);
    for (std::size_t frame = 0; frame < frames; ++frame) {
        const double phase = 2 * std::numbers::pi * frequency * static_cast<double>(frame) / rate;
        const auto value = static_cast<sf::Int16>(std::lround(32767 * amplitude * std::sin(phase)));
        samples.insert(samples.end(), channels, value);
    }
    return samples;
}

void WriteWav(const std::filesystem::path& file, const std::vector<sf::Int16>& samples, unsigned channels,
              unsigned rate) {
    sf::SoundBuffer buffer;
    if (!buffer.loadFromSamples(samples.data(), samples.size(), channels, rate) || !buffer.saveToFile(file.string()))
        throw std::runtime_error("cannot write " + file.string());
}

void WriteSoundEffects(const std::filesystem::path& directory, float seconds) {
    for (std::size_t id = 0; id < holder::sound_files.size(); ++id) {
        const auto name = std::filesystem::path(holder::sound_files[id]).filename();
        WriteWav(directory / name, Tone(440.f, seconds + 0.01f * static_cast<float>(id), 44100, 1), 1, 44100);
    }
}

std::vector<unsigned char> EncodeMp3(const std::vector<sf::Int16>& samples, unsigned channels, unsigned rate) {
    lame_t lame = lame_init();
    lame_set_num_channels(lame, static_cast<int>(channels));
    lame_set_in_samplerate(lame, static_cast<int>(rate));
    lame_set_out_samplerate(lame, static_cast<int>(rate));
    lame_set_mode(lame, channels == 1 ? MONO : JOINT_STEREO);
    lame_set_brate(lame, 128);
    lame_set_quality(lame, 7);
    lame_set_write_id3tag_automatic(lame, 0);
    if (lame_init_params(lame) < 0) {
        lame_close(lame);
        throw std::runtime_error("LAME rejects the parameters");
    }
    const int frames = static_cast<int>(samples.size() / channels);
    std::vector<unsigned char> out(samples.size() * 5 / 4 + 7200);
    auto* data = const_cast<short*>(samples.data());
    int written = channels == 2
                      ? lame_encode_buffer_interleaved(lame, data, frames, out.data(), static_cast<int>(out.size()))
                      : lame_encode_buffer(lame, data, data, frames, out.data(), static_cast<int>(out.size()));
    if (written >= 0)
        written += lame_encode_flush(lame, out.data() + written, static_cast<int>(out.size()) - written);
    // The first frame was a placeholder for the info frame, which knows the final length only now.
    if (written >= 0) lame_get_lametag_frame(lame, out.data(), out.size());
    lame_close(lame);
    if (written < 0) throw std::runtime_error("LAME failed to encode");
    out.resize(static_cast<std::size_t>(written));
    return out;
}

void WriteBytes(const std::filesystem::path& file, const std::vector<unsigned char>& bytes) {
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + file.string());
}

std::vector<unsigned char> ReadBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int Peak(const std::vector<sf::Int16>& samples) {
    int peak = 0;
    for (const sf::Int16 sample : samples) peak = std::max(peak, std::abs(static_cast<int>(sample)));
    return peak;
}

}  // namespace audio_test
