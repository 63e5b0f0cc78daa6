// The generated sound effects and music: they open, and they sound like finished assets (mono
// effects for positional playback, no clipping, no clicks, music long enough and gapless).
#include <holder/resource_holder.hpp>
#include <holder/resource_id.hpp>

#include <gtest/gtest.h>
#include <mpg123.h>

#include <SFML/Audio/SoundBuffer.hpp>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using holder::SoundId;

TEST(AudioAssetsTest, EverySoundEffectOpensThroughTheGameLoader) {
    holder::ResourceHolder<sf::SoundBuffer, SoundId> sounds;
    for (std::size_t i = 0; i < holder::sound_files.size(); ++i) {
        const auto id = static_cast<SoundId>(i);
        EXPECT_NO_THROW(sounds.Load(id, holder::FileOf(id)));
    }
}

TEST(AudioAssetsTest, SoundEffectsAreMonoLoudUnclippedAndStartAndEndAtRest) {
    for (const char* file : holder::sound_files) {
        sf::SoundBuffer buffer;
        ASSERT_TRUE(buffer.loadFromFile(file)) << file;
        EXPECT_EQ(buffer.getChannelCount(), 1u) << file;
        EXPECT_EQ(buffer.getSampleRate(), 44100u) << file;
        const std::size_t count = buffer.getSampleCount();
        ASSERT_GT(count, 441u) << file << " is shorter than 10 ms";
        EXPECT_LT(buffer.getDuration().asSeconds(), 3.0f) << file;
        const sf::Int16* samples = buffer.getSamples();
        int peak = 0;
        for (std::size_t i = 0; i < count; ++i)
            peak = std::max(peak, std::abs(static_cast<int>(samples[i])));
        EXPECT_GT(peak, 16000) << file << " is too quiet";
        EXPECT_LT(peak, 32767) << file << " clips";
        EXPECT_LT(std::abs(samples[0]), 100) << file << " clicks at its start";
        EXPECT_LT(std::abs(samples[count - 1]), 100) << file << " clicks at its end";
    }
}

TEST(AudioAssetsTest, TheTwoSidesGunfireSoundsDiffer) {
    sf::SoundBuffer allied, enemy;
    ASSERT_TRUE(allied.loadFromFile(holder::FileOf(SoundId::AlliedGunfire)));
    ASSERT_TRUE(enemy.loadFromFile(holder::FileOf(SoundId::EnemyGunfire)));
    const std::size_t n = std::min(allied.getSampleCount(), enemy.getSampleCount());
    double difference = 0;
    for (std::size_t i = 0; i < n; ++i)
        difference += std::abs(allied.getSamples()[i] - enemy.getSamples()[i]);
    EXPECT_GT(difference / static_cast<double>(n), 500.0);
}

struct Decoded {
    long rate = 0;
    int channels = 0;
    std::vector<short> samples;  // interleaved
};

Decoded DecodeMp3(const std::string& path) {
    Decoded out;
    int error = MPG123_OK;
    mpg123_handle* handle = mpg123_new(nullptr, &error);
    if (handle == nullptr)
        return out;
    int encoding = 0;
    if (mpg123_open(handle, path.c_str()) == MPG123_OK &&
        mpg123_getformat(handle, &out.rate, &out.channels, &encoding) == MPG123_OK) {
        mpg123_format_none(handle);
        mpg123_format(handle, out.rate, out.channels, MPG123_ENC_SIGNED_16);
        std::vector<unsigned char> chunk(1 << 16);
        std::size_t got = 0;
        int status = MPG123_OK;
        do {
            status = mpg123_read(handle, chunk.data(), chunk.size(), &got);
            const auto* shorts = reinterpret_cast<const short*>(chunk.data());
            out.samples.insert(out.samples.end(), shorts, shorts + got / sizeof(short));
        } while (status == MPG123_OK);
        mpg123_close(handle);
    }
    mpg123_delete(handle);
    return out;
}

double Rms(const std::vector<short>& samples, std::size_t from, std::size_t count) {
    double sum = 0;
    for (std::size_t i = from; i < from + count; ++i)
        sum += static_cast<double>(samples[i]) * samples[i];
    return std::sqrt(sum / static_cast<double>(count));
}

TEST(AudioAssetsTest, MusicTracksAreLongGaplessLoops) {
    for (const char* name : {"menu.mp3", "mission.mp3", "game_over.mp3"}) {
        const Decoded track = DecodeMp3(std::string("../share/music/") + name);
        ASSERT_GT(track.channels, 0) << name;
        EXPECT_EQ(track.rate, 44100) << name;
        const std::size_t frames = track.samples.size() / static_cast<std::size_t>(track.channels);
        EXPECT_GE(static_cast<double>(frames) / 44100.0, 30.0) << name;
        ASSERT_GT(frames, 44100u) << name;

        // No silence where the loop restarts: neither encoder padding nor a fade.
        const double overall = Rms(track.samples, 0, track.samples.size());
        const std::size_t edge = 512 * static_cast<std::size_t>(track.channels);
        EXPECT_GT(Rms(track.samples, 0, edge), 0.1 * overall) << name << " starts with silence";
        EXPECT_GT(Rms(track.samples, track.samples.size() - edge, edge), 0.1 * overall) << name << " ends with silence";

        // The jump from the last frame back to the first is no bigger than steps inside the track.
        int largest_step = 0;
        for (std::size_t i = static_cast<std::size_t>(track.channels); i < track.samples.size(); ++i)
            largest_step = std::max(largest_step, std::abs(track.samples[i] - track.samples[i - track.channels]));
        for (int c = 0; c < track.channels; ++c) {
            const int seam = std::abs(track.samples[static_cast<std::size_t>(c)] -
                                      track.samples[track.samples.size() - static_cast<std::size_t>(track.channels - c)]);
            EXPECT_LE(seam, largest_step / 2) << name << " clicks at the loop point";
        }
    }
}

}  // namespace
