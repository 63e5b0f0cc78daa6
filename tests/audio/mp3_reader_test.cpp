#include "audio/mp3_reader.hpp"

#include "audio_test_files.hpp"

#include <gtest/gtest.h>

#include <SFML/Audio/InputSoundFile.hpp>
#include <SFML/Audio/Music.hpp>
#include <SFML/Audio/SoundBuffer.hpp>
#include <SFML/System/Clock.hpp>
#include <SFML/System/MemoryInputStream.hpp>
#include <SFML/System/Sleep.hpp>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <random>
#include <string>

namespace {

using audio_test::EncodeMp3;
using audio_test::Tone;

// Decodes a whole file through SFML, as sf::Music and sf::SoundBuffer do.
std::vector<sf::Int16> DecodeAll(sf::InputSoundFile& file) {
    std::vector<sf::Int16> samples(static_cast<std::size_t>(file.getSampleCount()) + 44100);
    samples.resize(static_cast<std::size_t>(file.read(samples.data(), samples.size())));
    return samples;
}

// Sign changes on the first channel: a tone of f Hz crosses zero 2 f times a second.
int ZeroCrossings(const std::vector<sf::Int16>& samples, unsigned channels) {
    int crossings = 0;
    for (std::size_t i = channels; i < samples.size(); i += channels)
        if ((samples[i - channels] < 0) != (samples[i] < 0)) ++crossings;
    return crossings;
}

int LargestDifference(const std::vector<sf::Int16>& a, const std::vector<sf::Int16>& b, std::size_t b_start) {
    int largest = 0;
    for (std::size_t i = 0; i < a.size() && b_start + i < b.size(); ++i)
        largest = std::max(largest, std::abs(a[i] - b[b_start + i]));
    return largest;
}

bool Check(const std::vector<unsigned char>& bytes) {
    sf::MemoryInputStream stream;
    stream.open(bytes.data(), bytes.size());
    return audio::Mp3Reader::check(stream);
}

std::vector<unsigned char> WithId3Tag(std::vector<unsigned char> mp3) {
    // An ID3v2.4 header announcing 20 bytes of padding.
    std::vector<unsigned char> tagged = {'I', 'D', '3', 4, 0, 0, 0, 0, 0, 20};
    tagged.resize(tagged.size() + 20, 0);
    tagged.insert(tagged.end(), mp3.begin(), mp3.end());
    return tagged;
}

class Mp3ReaderTest : public testing::Test {
protected:
    static void SetUpTestSuite() { audio::RegisterMp3Reader(); }

    std::filesystem::path Write(const std::string& name, const std::vector<unsigned char>& bytes) {
        audio_test::WriteBytes(directory / name, bytes);
        return directory / name;
    }

    audio_test::TempDir directory;
};

TEST_F(Mp3ReaderTest, DecodesMonoAndStereoAtTheirOwnRate) {
    for (const unsigned channels : {1u, 2u}) {
        for (const unsigned rate : {44100u, 22050u}) {
            SCOPED_TRACE(std::to_string(channels) + " channels at " + std::to_string(rate));
            const auto tone = Tone(441.f, 1.f, rate, channels);
            sf::InputSoundFile file;
            ASSERT_TRUE(file.openFromFile(Write("tone.mp3", EncodeMp3(tone, channels, rate)).string()));
            EXPECT_EQ(file.getChannelCount(), channels);
            EXPECT_EQ(file.getSampleRate(), rate);
            // The encoder's info frame lets the decoder drop its padding: the length is exact.
            EXPECT_EQ(file.getSampleCount(), tone.size());
            const auto decoded = DecodeAll(file);
            EXPECT_EQ(decoded.size(), file.getSampleCount());
            EXPECT_NEAR(ZeroCrossings(decoded, channels), 882, 4);
            EXPECT_LT(LargestDifference(decoded, tone, 0), 3000);
        }
    }
}

TEST_F(Mp3ReaderTest, SeekingLandsOnTheSameSamplesAsDecodingThrough) {
    const auto path = Write("tone.mp3", EncodeMp3(Tone(300.f, 1.f, 44100, 2), 2, 44100));
    sf::InputSoundFile file;
    ASSERT_TRUE(file.openFromFile(path.string()));
    const auto decoded = DecodeAll(file);
    // Back to the start after the end, as a loop does, then into the middle of a frame.
    for (const std::size_t offset : {std::size_t{0}, std::size_t{2 * 30011}, decoded.size() - 500}) {
        file.seek(offset);
        std::vector<sf::Int16> part(2000);
        part.resize(static_cast<std::size_t>(file.read(part.data(), part.size())));
        EXPECT_EQ(part.size(), std::min<std::size_t>(2000, decoded.size() - offset)) << offset;
        EXPECT_LE(LargestDifference(part, decoded, offset), 2) << offset;
    }
}

TEST_F(Mp3ReaderTest, RecognisesMp3DataOnly) {
    const auto mp3 = EncodeMp3(Tone(440.f, 0.2f, 44100, 1), 1, 44100);
    EXPECT_TRUE(Check(mp3));
    EXPECT_TRUE(Check(WithId3Tag(mp3)));

    audio_test::WriteWav(directory / "tone.wav", Tone(440.f, 0.2f, 44100, 1), 1, 44100);
    EXPECT_FALSE(Check(audio_test::ReadBytes(directory / "tone.wav")));
    EXPECT_FALSE(Check({'O', 'g', 'g', 'S', 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3, 4}));
    EXPECT_FALSE(Check({'f', 'L', 'a', 'C', 0, 0, 0, 34, 16, 0, 16, 0}));
    EXPECT_FALSE(Check({}));
    EXPECT_FALSE(Check({'I', 'D', '3'}));
    EXPECT_FALSE(Check({'I', 'D', '3', 4, 0, 0, 0x80, 0, 0, 0}));  // sizes are 7-bit bytes

    std::mt19937 random(7);
    std::vector<unsigned char> garbage(4096);
    for (unsigned char& byte : garbage) byte = static_cast<unsigned char>(random());
    garbage[0] = 0x12;
    EXPECT_FALSE(Check(garbage));
    // A valid-looking frame header (MPEG-1 layer III, 128 kbit/s, 44.1 kHz: 417 bytes) that no
    // second frame follows.
    std::copy_n(mp3.begin(), 4, garbage.begin());
    EXPECT_FALSE(Check(garbage));
    // Reserved version, layer, bit rate and sample rate fields.
    for (const unsigned char second : {0xEB, 0xF9})
        EXPECT_FALSE(Check({0xFF, second, 0x90, 0x00, 0xFF, second, 0x90, 0x00})) << int(second);
    EXPECT_FALSE(Check({0xFF, 0xFB, 0xF0, 0x00, 0xFF, 0xFB, 0xF0, 0x00}));
    EXPECT_FALSE(Check({0xFF, 0xFB, 0x9C, 0x00, 0xFF, 0xFB, 0x9C, 0x00}));
}

TEST_F(Mp3ReaderTest, OtherFormatsStillReachSfmlsReaders) {
    const auto tone = Tone(440.f, 0.25f, 22050, 1);
    audio_test::WriteWav(directory / "tone.wav", tone, 1, 22050);
    sf::SoundBuffer buffer;
    ASSERT_TRUE(buffer.loadFromFile((directory / "tone.wav").string()));
    EXPECT_EQ(buffer.getSampleCount(), tone.size());
    EXPECT_EQ(buffer.getSampleRate(), 22050u);

    ASSERT_TRUE(buffer.loadFromFile(Write("tagged.mp3", WithId3Tag(EncodeMp3(tone, 1, 22050))).string()));
    EXPECT_EQ(buffer.getSampleCount(), tone.size());
}

TEST_F(Mp3ReaderTest, DamagedFilesEndEarlyInsteadOfCrashing) {
    const auto tone = Tone(440.f, 1.f, 44100, 2);
    const auto mp3 = EncodeMp3(tone, 2, 44100);

    // Cut in half (mid-frame): the exact length the info frame promises is no longer there.
    sf::InputSoundFile file;
    const auto half = Write("half.mp3", {mp3.begin(), mp3.begin() + static_cast<long>(mp3.size() / 2)});
    ASSERT_TRUE(file.openFromFile(half.string()));
    EXPECT_GT(file.getSampleCount(), tone.size() / 3);
    EXPECT_LT(file.getSampleCount(), tone.size() * 2 / 3);
    EXPECT_EQ(DecodeAll(file).size(), file.getSampleCount());

    // Cuts anywhere and bytes overwritten with noise: opening may fail, decoding may end early,
    // but nothing reads beyond the data or past the length promised.
    std::mt19937 random(3);
    for (int round = 0; round < 40; ++round) {
        auto damaged = mp3;
        if (round % 2) damaged.resize(random() % damaged.size());
        for (int i = 0, flips = round % 20; i < flips && !damaged.empty(); ++i)
            damaged[random() % damaged.size()] = static_cast<unsigned char>(random());
        sf::MemoryInputStream stream;
        stream.open(damaged.data(), damaged.size());
        sf::InputSoundFile opened;
        if (!opened.openFromStream(stream)) continue;
        const sf::Uint64 count = opened.getSampleCount();
        EXPECT_LE(DecodeAll(opened).size(), count) << round;
        opened.seek(count / 2);
        std::vector<sf::Int16> part(4096);
        EXPECT_LE(opened.read(part.data(), part.size()), count - count / 2) << round;
    }
}

TEST_F(Mp3ReaderTest, MusicLoopsBackToTheStart) {
    const auto path = Write("loop.mp3", EncodeMp3(Tone(440.f, 1.f, 44100, 2), 2, 44100));
    sf::Music music;
    ASSERT_TRUE(music.openFromFile(path.string()));
    EXPECT_NEAR(music.getDuration().asSeconds(), 1.f, 0.001f);
    music.setLoop(true);
    music.play();
    music.setPlayingOffset(sf::seconds(0.8f));
    // The deadline only guards against hanging; the wrap comes after about 0.2 s.
    const sf::Clock clock;
    while (music.getPlayingOffset() >= sf::seconds(0.5f) && clock.getElapsedTime() < sf::seconds(10))
        sf::sleep(sf::milliseconds(10));
    EXPECT_LT(music.getPlayingOffset(), sf::seconds(0.5f));
    EXPECT_EQ(music.getStatus(), sf::Music::Playing);
}

}  // namespace

namespace {

// The tracks made by the asset build decode from start to end at a rate SFML plays as it is.
TEST(GameTracksTest, DecodeCompletely) {
    audio::RegisterMp3Reader();
    for (const std::string name : {"menu.mp3", "mission.mp3", "game_over.mp3"}) {
        SCOPED_TRACE(name);
        sf::InputSoundFile file;
        ASSERT_TRUE(file.openFromFile("../share/music/" + name));
        EXPECT_TRUE(file.getSampleRate() == 22050 || file.getSampleRate() == 32000 || file.getSampleRate() == 44100 ||
                    file.getSampleRate() == 48000)
            << file.getSampleRate();
        EXPECT_GE(file.getChannelCount(), 1u);
        EXPECT_LE(file.getChannelCount(), 2u);
        EXPECT_GT(file.getDuration(), sf::seconds(10));
        EXPECT_LT(file.getDuration(), sf::seconds(600));
        const auto decoded = DecodeAll(file);
        EXPECT_EQ(decoded.size(), file.getSampleCount());
        EXPECT_GT(audio_test::Peak(decoded), 3000);
    }
}

}  // namespace
