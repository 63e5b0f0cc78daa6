#include "audio/mp3_reader.hpp"

#include "support/helpers.hpp"

#include <SFML/Audio/InputSoundFile.hpp>
#include <SFML/Audio/SoundBuffer.hpp>

#include <lame/lame.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

namespace {

using Bytes = std::vector<unsigned char>;

// A sine tone at half the full scale, interleaved, the same on every channel.
std::vector<sf::Int16> Tone(float frequency, float seconds, unsigned rate, unsigned channels) {
    std::vector<sf::Int16> samples;
    for (std::size_t frame = 0; frame < static_cast<std::size_t>(seconds * static_cast<float>(rate)); ++frame) {
        const double phase = 2 * std::numbers::pi * frequency * static_cast<double>(frame) / rate;
        samples.insert(samples.end(), channels, static_cast<sf::Int16>(std::lround(16383 * std::sin(phase))));
    }
    return samples;
}

// Encodes with LAME at 128 kbit/s, including the leading info frame that carries the exact length.
Bytes EncodeMp3(const std::vector<sf::Int16>& samples, unsigned channels, unsigned rate) {
    lame_t lame = lame_init();
    lame_set_num_channels(lame, static_cast<int>(channels));
    lame_set_in_samplerate(lame, static_cast<int>(rate));
    lame_set_out_samplerate(lame, static_cast<int>(rate));
    lame_set_brate(lame, 128);
    lame_set_write_id3tag_automatic(lame, 0);
    Bytes out(samples.size() * 5 / 4 + 7200);
    auto* data = const_cast<short*>(samples.data());
    const int frames = static_cast<int>(samples.size() / channels), size = static_cast<int>(out.size());
    int written = -1;
    if (lame_init_params(lame) >= 0)
        written = channels == 2 ? lame_encode_buffer_interleaved(lame, data, frames, out.data(), size)
                                : lame_encode_buffer(lame, data, data, frames, out.data(), size);
    if (written >= 0) written += lame_encode_flush(lame, out.data() + written, size - written);
    // The first frame was a placeholder for the info frame, which knows the final length only now.
    lame_get_lametag_frame(lame, out.data(), out.size());
    lame_close(lame);
    out.resize(static_cast<std::size_t>(std::max(written, 0)));
    return out;
}

// Decodes a whole file through SFML, as sf::Music and sf::SoundBuffer do.
std::vector<sf::Int16> DecodeAll(sf::InputSoundFile& file) {
    std::vector<sf::Int16> samples(static_cast<std::size_t>(file.getSampleCount()) + 44100);
    samples.resize(static_cast<std::size_t>(file.read(samples.data(), samples.size())));
    return samples;
}

int LargestDifference(const std::vector<sf::Int16>& a, const std::vector<sf::Int16>& b, std::size_t b_start) {
    int largest = 0;
    for (std::size_t i = 0; i < a.size() && b_start + i < b.size(); ++i)
        largest = std::max(largest, std::abs(a[i] - b[b_start + i]));
    return largest;
}

class Mp3ReaderTest : public testing::Test {
protected:
    static void SetUpTestSuite() { audio::RegisterMp3Reader(); }
};

// Each kind of file decodes to its exact length, and seeking lands where decoding through does.
// Damaged (cut or overwritten with noise), opening may fail and decoding may end early, but
// nothing reads beyond the data or past the length promised.
TEST_F(Mp3ReaderTest, DecodesSeeksAndEndsDamagedFilesEarly) {
    std::mt19937 random(3);
    for (const unsigned channels : {1u, 2u}) {
        for (const unsigned rate : {44100u, 22050u}) {
            SCOPED_TRACE(std::to_string(channels) + " channels at " + std::to_string(rate));
            const auto tone = Tone(441.f, 1.f, rate, channels);
            const Bytes mp3 = EncodeMp3(tone, channels, rate);
            sf::InputSoundFile file;
            ASSERT_TRUE(file.openFromMemory(mp3.data(), mp3.size()));
            EXPECT_EQ(file.getChannelCount(), channels);
            EXPECT_EQ(file.getSampleRate(), rate);
            EXPECT_EQ(file.getSampleCount(), tone.size());  // the info frame's length, padding dropped
            const auto decoded = DecodeAll(file);
            EXPECT_EQ(decoded.size(), file.getSampleCount());
            EXPECT_LT(LargestDifference(decoded, tone, 0), 3000);

            // Back to the start after the end, as a loop does, then into the middle of a frame.
            for (const std::size_t offset : {std::size_t{0}, std::size_t{channels * 7001}, decoded.size() - 500}) {
                file.seek(offset);
                std::vector<sf::Int16> part(2000);
                part.resize(static_cast<std::size_t>(file.read(part.data(), part.size())));
                EXPECT_EQ(part.size(), std::min<std::size_t>(2000, decoded.size() - offset)) << offset;
                EXPECT_LE(LargestDifference(part, decoded, offset), 2) << offset;
            }

            // Cut in half (mid-frame): the exact length the info frame promises is no longer there.
            sf::InputSoundFile half;
            ASSERT_TRUE(half.openFromMemory(mp3.data(), mp3.size() / 2));
            EXPECT_GT(half.getSampleCount(), tone.size() / 3);
            EXPECT_LT(half.getSampleCount(), tone.size() * 2 / 3);
            EXPECT_EQ(DecodeAll(half).size(), half.getSampleCount());
            for (int round = 0; round < 10; ++round) {
                Bytes damaged = mp3;
                if (round % 2) damaged.resize(random() % damaged.size());
                for (int i = 0, flips = round * 2; i < flips && !damaged.empty(); ++i)
                    damaged[random() % damaged.size()] = static_cast<unsigned char>(random());
                sf::InputSoundFile opened;
                if (!opened.openFromMemory(damaged.data(), damaged.size())) continue;
                const sf::Uint64 count = opened.getSampleCount();
                EXPECT_LE(DecodeAll(opened).size(), count) << round;
                opened.seek(count / 2);
                std::vector<sf::Int16> part(4096);
                EXPECT_LE(opened.read(part.data(), part.size()), count - count / 2) << round;
            }
        }
    }
}

}  // namespace
