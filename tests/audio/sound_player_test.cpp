#include "audio/sound_player.hpp"

#include "support/helpers.hpp"

#include <gtest/gtest.h>

#include <SFML/Audio/Listener.hpp>

namespace {

using holder::SoundId;
using Heard = test::SoundProbe::Heard_t;

// Effects of their own, 60 s + 1 s per identifier, so a buffer tells which file it holds and no
// sound ends while the test looks at it.
TEST(SoundPlayerTest, EachIdentifierPlaysItsOwnFileOnThePlaneBelowTheListenerAndACrowdStaysWithinOpenAlsSources) {
    const test::TempDir directory;
    for (std::size_t id = 0; id < holder::sound_files.size(); ++id)
        test::WriteSilence(directory / std::filesystem::path(holder::sound_files[id]).filename().string(),
                           (60 + id) * 1000, 1000);
    test::SoundProbe player(directory.Path());
    for (std::size_t id = 0; id < holder::sound_files.size(); ++id)
        EXPECT_EQ(player.sound_buffers.Get(static_cast<SoundId>(id)).getSampleCount(), (60 + id) * 1000) << id;
    player.SetListenerPosition({100.f, 50.f});
    EXPECT_EQ(sf::Listener::getPosition(), sf::Vector3f(100.f, -50.f, 300.f));

    player.Play(SoundId::Button);
    player.Play(SoundId::AlliedGunfire, {-30.f, 2400.f});
    player.Play(SoundId::AlliedGunfire, {0.f, 0.f});
    EXPECT_EQ(player.Heard(), (std::vector<Heard>{{SoundId::Button, {100.f, 50.f}},
                                                   {SoundId::AlliedGunfire, {-30.f, 2400.f}},
                                                   {SoundId::AlliedGunfire, {0.f, 0.f}}}));

    // A crowd keeps the newest sounds, each with a source of its own, playing.
    for (int i = 0; i < 300; ++i) player.Play(SoundId::AlliedGunfire);
    player.Play(SoundId::Explosion1);
    ASSERT_EQ(player.sounds.size(), SoundPlayer::max_live_sounds);
    EXPECT_EQ(player.Heard().back().id, SoundId::Explosion1);
    for (const sf::Sound& sound : player.sounds) {
        EXPECT_EQ(sound.getPosition().z, 0.f);
        EXPECT_FALSE(sound.isRelativeToListener());
        EXPECT_FALSE(sound.getLoop());
        EXPECT_EQ(sound.getStatus(), sf::SoundSource::Playing);
    }
}

}  // namespace
