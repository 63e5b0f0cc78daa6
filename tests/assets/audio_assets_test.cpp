// The generated sounds and music in the form the game plays them: mono effects for positional
// playback, loud but unclipped and without clicks; music long enough and looping without a seam.
#include <asset/sound_format.hpp>
#include <holder/holders.hpp>

#include "audio/mp3_reader.hpp"

#include <gtest/gtest.h>

#include <SFML/Audio/SoundBuffer.hpp>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

TEST(AudioAssetsTest, SoundEffectsAreShortLoudUnclippedMonoAndStartAndEndAtRest) {
    holder::SoundBufferHolder sounds;
    for (std::size_t i = 0; i < holder::sound_files.size(); ++i) {
        const auto id = static_cast<holder::SoundId>(i);
        ASSERT_NO_THROW(sounds.Load(id, holder::FileOf(id)));
        const sf::SoundBuffer& buffer = sounds.Get(id);
        const std::string file = holder::FileOf(id);
        EXPECT_EQ(buffer.getChannelCount(), static_cast<unsigned>(asset::EFFECT_CHANNELS)) << file;
        EXPECT_EQ(buffer.getSampleRate(), static_cast<unsigned>(asset::SAMPLE_RATE)) << file;
        const std::size_t count = buffer.getSampleCount();
        ASSERT_GT(count, static_cast<std::size_t>(asset::SAMPLE_RATE / 100)) << file << " is shorter than 10 ms";
        EXPECT_LT(buffer.getDuration().asSeconds(), asset::MAX_EFFECT_SECONDS) << file;
        const sf::Int16* samples = buffer.getSamples();
        int peak = 0;
        for (std::size_t s = 0; s < count; ++s) peak = std::max(peak, std::abs(static_cast<int>(samples[s])));
        EXPECT_GT(peak, 16000) << file << " is too quiet";
        EXPECT_LT(peak, 32767) << file << " clips";
        EXPECT_LT(std::abs(samples[0]), 100) << file << " clicks at its start";
        EXPECT_LT(std::abs(samples[count - 1]), 100) << file << " clicks at its end";
    }
}

double Rms(const std::vector<sf::Int16>& samples, std::size_t from, std::size_t count) {
    double sum = 0;
    for (std::size_t i = from; i < from + count; ++i) sum += static_cast<double>(samples[i]) * samples[i];
    return std::sqrt(sum / static_cast<double>(count));
}

// Decoded by the game's own reader, as the music player streams them.
TEST(AudioAssetsTest, MusicTracksAreLongGaplessLoops) {
    audio::RegisterMp3Reader();
    for (const std::string_view name : asset::MUSIC_FILES) {
        sf::SoundBuffer buffer;
        ASSERT_TRUE(buffer.loadFromFile(std::string(KIRROW_SHARE_DIR "/music/") + std::string(name))) << name;
        ASSERT_EQ(buffer.getChannelCount(), static_cast<unsigned>(asset::MUSIC_CHANNELS)) << name;
        EXPECT_EQ(buffer.getSampleRate(), static_cast<unsigned>(asset::SAMPLE_RATE)) << name;
        const std::vector<sf::Int16> samples(buffer.getSamples(), buffer.getSamples() + buffer.getSampleCount());
        const std::size_t channels = buffer.getChannelCount();
        const std::size_t frames = samples.size() / channels;
        ASSERT_GE(static_cast<double>(frames) / asset::SAMPLE_RATE, asset::MIN_TRACK_SECONDS) << name;

        // No silence where the loop restarts: neither encoder padding nor a fade.
        const double overall = Rms(samples, 0, samples.size());
        const std::size_t edge = 512 * channels;
        EXPECT_GT(Rms(samples, 0, edge), 0.1 * overall) << name << " starts with silence";
        EXPECT_GT(Rms(samples, samples.size() - edge, edge), 0.1 * overall) << name << " ends with silence";

        // The jump from the last frame back to the first is no bigger than steps inside the track.
        int largest_step = 0;
        for (std::size_t i = channels; i < samples.size(); ++i)
            largest_step = std::max(largest_step, std::abs(samples[i] - samples[i - channels]));
        for (std::size_t c = 0; c < channels; ++c) {
            const int seam = std::abs(samples[c] - samples[samples.size() - channels + c]);
            EXPECT_LE(seam, largest_step / 2) << name << " clicks at the loop point";
        }
    }
}

}  // namespace
