// Proof that placement is heard, not just stored: OpenAL's wave driver records the mixed output
// of a sound played at the listener and of the same sound far away. The driver must be chosen
// before OpenAL starts, so each recording runs in a child process of this test program.
#include "audio/sound_player.hpp"

#include "audio_test_files.hpp"

#include <gtest/gtest.h>

#include <SFML/System/Sleep.hpp>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr const char* distance_variable = "KIRROW_CAPTURE_DISTANCE";
constexpr const char* sounds_variable = "KIRROW_CAPTURE_SOUNDS";

std::uint32_t Little32(const unsigned char* bytes) {
    return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

// The 16-bit samples of a WAV file as the wave driver writes it (chunks after the header; a data
// chunk whose size was never filled in runs to the end of the file).
std::vector<sf::Int16> CapturedSamples(const std::filesystem::path& file) {
    const std::vector<unsigned char> bytes = audio_test::ReadBytes(file);
    std::size_t at = 12;
    bool sixteen_bits = false;
    while (at + 8 <= bytes.size()) {
        const std::string id(bytes.begin() + static_cast<long>(at), bytes.begin() + static_cast<long>(at + 4));
        std::size_t size = Little32(&bytes[at + 4]);
        at += 8;
        if (id == "fmt " && at + 16 <= bytes.size()) sixteen_bits = (bytes[at + 14] | bytes[at + 15] << 8) == 16;
        if (id == "data") {
            if (!sixteen_bits) return {};
            if (size == 0 || at + size > bytes.size()) size = bytes.size() - at;
            std::vector<sf::Int16> samples(size / 2);
            std::memcpy(samples.data(), &bytes[at], samples.size() * 2);
            return samples;
        }
        at += size + (size & 1);
    }
    return {};
}

// Records one sound played `distance` units to the right of the listener; the peak of the output.
int RecordPeak(const audio_test::TempDir& directory, int distance) {
    const auto capture = directory / ("capture_" + std::to_string(distance) + ".wav");
    const auto config = directory / ("alsoft_" + std::to_string(distance) + ".conf");
    std::ofstream(config) << "[general]\ndrivers=wave\nsample-type=int16\n[wave]\nfile=" << capture.string() << "\n";
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    const std::string command = "ALSOFT_DRIVERS=wave ALSOFT_CONF='" + config.string() + "' " + distance_variable + "=" +
                                std::to_string(distance) + " " + sounds_variable + "='" + directory.Path().string() +
                                "' '" + self + "' --gtest_filter=SoundPlacementRecording.PlayOnce > /dev/null";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    const std::vector<sf::Int16> samples = CapturedSamples(capture);
    EXPECT_GT(samples.size(), 44100u / 2) << "no recording in " << capture;
    return audio_test::Peak(samples);
}

TEST(SoundPlacementTest, SoundAtTheListenerIsFarLouderThanTheSameSoundFarAway) {
    audio_test::TempDir directory;
    audio_test::WriteSoundEffects(directory.Path(), 0.3f);
    const int near = RecordPeak(directory, 0);
    const int far = RecordPeak(directory, 2000);
    // At 2,000 units inverse-distance attenuation of factor 8 leaves under 3 % of the amplitude.
    EXPECT_GT(near, 8000);
    EXPECT_GT(far, 0);
    EXPECT_GT(near, 10 * far) << "near " << near << ", far " << far;
}

// Runs only inside the child process started above.
TEST(SoundPlacementRecording, PlayOnce) {
    const char* distance = std::getenv(distance_variable);
    const char* sounds = std::getenv(sounds_variable);
    if (!distance || !sounds) GTEST_SKIP() << "runs as part of SoundPlacementTest";
    SoundPlayer player{std::filesystem::path(sounds)};
    player.SetListenerPosition({500.f, 400.f});
    const float x = std::stof(distance);
    if (x == 0.f)
        player.Play(holder::SoundId::Explosion1);
    else
        player.Play(holder::SoundId::Explosion1, {500.f + x, 400.f});
    // The driver mixes in real time: let the 0.32 s sound play out before OpenAL closes.
    sf::sleep(sf::seconds(0.8f));
}

}  // namespace
