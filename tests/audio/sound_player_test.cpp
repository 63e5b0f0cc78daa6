#include "audio/sound_player.hpp"

#include "audio_test_files.hpp"

#include <gtest/gtest.h>

#include <SFML/Audio/Listener.hpp>

#include <filesystem>
#include <iterator>
#include <stdexcept>
#include <string>

namespace {

using holder::SoundId;

// Opens up the player's sounds and buffers for inspection.
class InspectableSoundPlayer : public SoundPlayer {
public:
    using SoundPlayer::SoundPlayer;
    using SoundPlayer::sound_buffers;
    using SoundPlayer::sounds;
};

class SoundPlayerTest : public testing::Test {
protected:
    SoundPlayerTest() { audio_test::WriteSoundEffects(directory.Path(), 0.2f); }

    audio_test::TempDir directory;
};

std::string ConstructionError(const std::filesystem::path& directory) {
    try {
        SoundPlayer player(directory);
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return "no exception";
}

TEST_F(SoundPlayerTest, ListenerPositionRoundTripsThroughAudioSpace) {
    InspectableSoundPlayer player(directory.Path());
    player.SetListenerPosition({100.f, 50.f});
    EXPECT_EQ(player.GetListenerPosition(), sf::Vector2f(100.f, 50.f));
    EXPECT_EQ(sf::Listener::getPosition(), sf::Vector3f(100.f, -50.f, 300.f));
}

TEST_F(SoundPlayerTest, EachIdentifierPlaysItsOwnFile) {
    InspectableSoundPlayer player(directory.Path());
    for (std::size_t id = 0; id < holder::sound_files.size(); ++id) {
        const auto frames = static_cast<std::size_t>((0.2f + 0.01f * static_cast<float>(id)) * 44100);
        EXPECT_EQ(player.sound_buffers.Get(static_cast<SoundId>(id)).getSampleCount(), frames) << id;
    }
}

TEST_F(SoundPlayerTest, SoundAtTheListenerSitsOnThePlaneBelowIt) {
    InspectableSoundPlayer player(directory.Path());
    player.SetListenerPosition({100.f, 50.f});
    player.Play(SoundId::Button);
    ASSERT_EQ(player.sounds.size(), 1u);
    const sf::Sound& sound = player.sounds.back();
    EXPECT_EQ(sound.getPosition(), sf::Vector3f(100.f, -50.f, 0.f));
    EXPECT_EQ(sound.getBuffer(), &player.sound_buffers.Get(SoundId::Button));
    EXPECT_FLOAT_EQ(sound.getMinDistance(), 360.55511474609375f);
    EXPECT_FLOAT_EQ(sound.getAttenuation(), 8.f);
    EXPECT_FALSE(sound.isRelativeToListener());
    EXPECT_FALSE(sound.getLoop());
    EXPECT_EQ(sound.getStatus(), sf::SoundSource::Playing);
}

TEST_F(SoundPlayerTest, SameSoundTwicePlaysTwoIndependentSounds) {
    InspectableSoundPlayer player(directory.Path());
    player.Play(SoundId::AlliedGunfire, {0.f, 0.f});
    player.Play(SoundId::AlliedGunfire, {-30.f, 2400.f});
    ASSERT_EQ(player.sounds.size(), 2u);
    const sf::Sound& first = player.sounds.front();
    const sf::Sound& second = player.sounds.back();
    EXPECT_EQ(first.getBuffer(), second.getBuffer());
    EXPECT_EQ(first.getStatus(), sf::SoundSource::Playing);
    EXPECT_EQ(second.getStatus(), sf::SoundSource::Playing);
    EXPECT_EQ(first.getPosition(), sf::Vector3f(0.f, 0.f, 0.f));
    EXPECT_EQ(second.getPosition(), sf::Vector3f(-30.f, -2400.f, 0.f));
}

TEST_F(SoundPlayerTest, RemovingStoppedSoundsKeepsTheRestInOrder) {
    InspectableSoundPlayer player(directory.Path());
    player.RemoveStoppedSounds();
    EXPECT_TRUE(player.sounds.empty());

    for (float x : {1.f, 2.f, 3.f}) player.Play(SoundId::EnemyGunfire, {x, 0.f});
    player.RemoveStoppedSounds();
    ASSERT_EQ(player.sounds.size(), 3u);

    std::next(player.sounds.begin())->stop();
    player.RemoveStoppedSounds();
    ASSERT_EQ(player.sounds.size(), 2u);
    EXPECT_EQ(player.sounds.front().getPosition().x, 1.f);
    EXPECT_EQ(player.sounds.back().getPosition().x, 3.f);

    for (sf::Sound& sound : player.sounds) sound.stop();
    player.RemoveStoppedSounds();
    EXPECT_TRUE(player.sounds.empty());
}

TEST_F(SoundPlayerTest, CrowdOfSoundsStaysWithinTheSourcesOpenAlHas) {
    InspectableSoundPlayer player(directory.Path());
    for (int i = 0; i < 300; ++i) player.Play(SoundId::AlliedGunfire);
    player.Play(SoundId::Explosion1);
    ASSERT_EQ(player.sounds.size(), SoundPlayer::max_live_sounds);
    // Every kept sound got a source of its own and plays; the newest is among them.
    for (const sf::Sound& sound : player.sounds) EXPECT_EQ(sound.getStatus(), sf::SoundSource::Playing);
    EXPECT_EQ(player.sounds.back().getBuffer(), &player.sound_buffers.Get(SoundId::Explosion1));
}

TEST_F(SoundPlayerTest, MissingFileNamesTheFirstOneInLoadingOrder) {
    // Pickup loads before missile launch although its identifier comes later.
    std::filesystem::remove(directory / "LaunchMissile.wav");
    std::filesystem::remove(directory / "CollectPickup.wav");
    EXPECT_EQ(ConstructionError(directory.Path()),
              "Failed to load resource " + (directory / "CollectPickup.wav").string());
}

}  // namespace

namespace {

// The game's own files: every effect loads, and is mono, as OpenAL places mono sources only.
TEST(GameSoundEffectsTest, LoadFromTheShareDirectoryAsMonoSounds) {
    InspectableSoundPlayer player;
    for (std::size_t id = 0; id < holder::sound_files.size(); ++id) {
        const sf::SoundBuffer& buffer = player.sound_buffers.Get(static_cast<SoundId>(id));
        EXPECT_EQ(buffer.getChannelCount(), 1u) << holder::sound_files[id];
        EXPECT_GT(buffer.getDuration(), sf::milliseconds(20)) << holder::sound_files[id];
        EXPECT_LT(buffer.getDuration(), sf::seconds(5)) << holder::sound_files[id];
    }
}

}  // namespace
