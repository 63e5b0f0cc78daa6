#include "wav_writer.hpp"

#include "synth.hpp"

#include <asset/sound_format.hpp>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <stdexcept>
#include <string>

namespace assetgen {
namespace {

void PutLittleEndian(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

}  // namespace

void WriteMonoWav(const std::filesystem::path& file, const std::vector<float>& samples) {
    constexpr std::uint32_t channels = asset::EFFECT_CHANNELS;
    constexpr std::uint32_t bytes_per_sample = 2;
    const auto data_size = static_cast<std::uint32_t>(samples.size() * bytes_per_sample * channels);

    std::string out = "RIFF";
    PutLittleEndian(out, 36 + data_size, 4);
    out += "WAVEfmt ";
    PutLittleEndian(out, 16, 4);
    PutLittleEndian(out, 1, 2);  // PCM
    PutLittleEndian(out, channels, 2);
    PutLittleEndian(out, SAMPLE_RATE, 4);
    PutLittleEndian(out, SAMPLE_RATE * channels * bytes_per_sample, 4);
    PutLittleEndian(out, channels * bytes_per_sample, 2);
    PutLittleEndian(out, 8 * bytes_per_sample, 2);
    out += "data";
    PutLittleEndian(out, data_size, 4);
    for (float s : samples) {
        const auto value = static_cast<std::int16_t>(std::lrint(std::clamp(s, -1.0f, 1.0f) * 32767.0f));
        PutLittleEndian(out, static_cast<std::uint16_t>(value), 2);
    }

    std::filesystem::create_directories(file.parent_path());
    std::ofstream stream(file, std::ios::binary);
    stream.write(out.data(), static_cast<std::streamsize>(out.size()));
    if (!stream)
        throw std::runtime_error("cannot write " + file.string());
}

}  // namespace assetgen
