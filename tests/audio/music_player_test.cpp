#include "audio/music_player.hpp"

#include "audio_test_files.hpp"

#include <gtest/gtest.h>

#include <SFML/System/Clock.hpp>
#include <SFML/System/Sleep.hpp>

#include <stdexcept>
#include <string>

namespace {

// Opens up the stream for inspection.
class InspectableMusicPlayer : public MusicPlayer {
public:
    using MusicPlayer::MusicPlayer;
    using MusicPlayer::music;
};

// Waits until the stream has played at least `offset`; the deadline only guards against hanging.
void WaitForOffset(const sf::Music& music, sf::Time offset) {
    const sf::Clock clock;
    while (music.getPlayingOffset() < offset && clock.getElapsedTime() < sf::seconds(10))
        sf::sleep(sf::milliseconds(5));
    ASSERT_GE(music.getPlayingOffset(), offset);
}

// Menu and mission tracks of different lengths; the game-over track is missing.
class MusicPlayerTest : public testing::Test {
protected:
    MusicPlayerTest() {
        WriteTrack("menu.mp3", 1.f);
        WriteTrack("mission.mp3", 3.f);
    }

    void WriteTrack(const std::string& name, float seconds) {
        const auto tone = audio_test::Tone(440.f, seconds, 44100, 2);
        audio_test::WriteBytes(directory / name, audio_test::EncodeMp3(tone, 2, 44100));
    }

    audio_test::TempDir directory;
    InspectableMusicPlayer player{directory.Path().string() + "/"};
};

TEST_F(MusicPlayerTest, PlaysTheChosenTrackLoopingAtFullVolumeAtTheListener) {
    EXPECT_TRUE(player.music.isRelativeToListener());
    player.Play(MusicId::MissionMusic);
    EXPECT_NEAR(player.music.getDuration().asSeconds(), 3.f, 0.01f);
    EXPECT_EQ(player.music.getStatus(), sf::Music::Playing);
    EXPECT_TRUE(player.music.getLoop());
    EXPECT_FLOAT_EQ(player.music.getVolume(), 100.f);
    EXPECT_TRUE(player.music.isRelativeToListener());

    player.Play(MusicId::MenuMusic);
    EXPECT_NEAR(player.music.getDuration().asSeconds(), 1.f, 0.01f);
    EXPECT_EQ(player.music.getStatus(), sf::Music::Playing);
}

TEST_F(MusicPlayerTest, MissingTrackThrowsNamingItsPath) {
    try {
        player.Play(MusicId::GameOverMusic);
        FAIL() << "no exception";
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Music " + directory.Path().string() + "/game_over.mp3 could not be loaded.");
    }
}

TEST_F(MusicPlayerTest, ResumingContinuesWhereThePauseLeftOff) {
    player.Play(MusicId::MissionMusic);
    WaitForOffset(player.music, sf::seconds(0.3f));
    player.SetPaused(true);
    EXPECT_EQ(player.music.getStatus(), sf::Music::Paused);
    const sf::Time paused_at = player.music.getPlayingOffset();
    sf::sleep(sf::milliseconds(100));
    EXPECT_EQ(player.music.getPlayingOffset(), paused_at);

    player.SetPaused(false);
    EXPECT_EQ(player.music.getStatus(), sf::Music::Playing);
    EXPECT_GE(player.music.getPlayingOffset(), paused_at);
    EXPECT_NEAR(player.music.getDuration().asSeconds(), 3.f, 0.01f);
}

TEST_F(MusicPlayerTest, PlayingTheSameTrackAgainRestartsIt) {
    player.Play(MusicId::MissionMusic);
    WaitForOffset(player.music, sf::seconds(0.5f));
    player.Play(MusicId::MissionMusic);
    EXPECT_LT(player.music.getPlayingOffset(), sf::seconds(0.5f));
    EXPECT_EQ(player.music.getStatus(), sf::Music::Playing);

    player.Stop();
    EXPECT_EQ(player.music.getStatus(), sf::Music::Stopped);
}

}  // namespace

namespace {

TEST(GameMusicTest, EveryTrackOfTheGamePlays) {
    InspectableMusicPlayer player;
    for (const MusicId id : {MusicId::MenuMusic, MusicId::MissionMusic, MusicId::GameOverMusic}) {
        player.Play(id);
        EXPECT_EQ(player.music.getStatus(), sf::Music::Playing) << static_cast<int>(id);
        EXPECT_GT(player.music.getDuration(), sf::seconds(5)) << static_cast<int>(id);
    }
}

}  // namespace
