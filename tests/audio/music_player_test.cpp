#include "audio/music_player.hpp"

#include "support/helpers.hpp"

#include <gtest/gtest.h>

namespace {

using Status = sf::SoundSource::Status;

// Nothing waits for the stream to play: a paused stream keeps the offset it is given, so where
// playback stands is set, not waited for (the stand-in tracks last minutes).
TEST(MusicPlayerTest, PlaysTheChosenTrackFromItsStartLoopingAtFullVolumeAtTheListener) {
    test::MusicProbe player;
    sf::Music& music = player.music;
    for (const MusicId id : {MusicId::MissionMusic, MusicId::MenuMusic, MusicId::GameOverMusic}) {
        player.Play(id);
        EXPECT_EQ(player.Track(), id);
        EXPECT_EQ(player.Status(), Status::Playing);
        EXPECT_TRUE(music.getLoop());
        EXPECT_FLOAT_EQ(music.getVolume(), 100.f);
        EXPECT_TRUE(music.isRelativeToListener());
    }

    // Resuming continues where the pause left the track; playing it again starts it over.
    player.SetPaused(true);
    EXPECT_EQ(player.Status(), Status::Paused);
    music.setPlayingOffset(sf::seconds(50));
    player.SetPaused(false);
    EXPECT_EQ(player.Status(), Status::Playing);
    EXPECT_GE(music.getPlayingOffset(), sf::seconds(50));
    player.SetPaused(true);
    player.Play(MusicId::GameOverMusic);
    EXPECT_EQ(player.Status(), Status::Playing);
    EXPECT_LT(music.getPlayingOffset(), sf::seconds(50));

    player.Stop();
    EXPECT_EQ(player.Status(), Status::Stopped);
}

TEST(MusicPlayerTest, MissingTrackThrowsNamingItsPath) {
    test::TempDir empty;
    MusicPlayer player(empty.Path().string() + "/");
    EXPECT_EQ(test::ErrorMessageOf([&] { player.Play(MusicId::GameOverMusic); }),
              "Music " + empty.Path().string() + "/game_over.mp3 could not be loaded.");
}

}  // namespace
