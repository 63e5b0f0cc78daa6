#include "audio/sound_player.hpp"

#include <SFML/Audio/Listener.hpp>

#include <array>

namespace {

using holder::SoundId;

constexpr std::array<SoundId, 7> load_order = {
    SoundId::AlliedGunfire, SoundId::EnemyGunfire,  SoundId::Explosion1, SoundId::Explosion2,
    SoundId::CollectPickup, SoundId::LaunchMissile, SoundId::Button,
};

}  // namespace

SoundPlayer::SoundPlayer() : SoundPlayer(std::filesystem::path(holder::FileOf(SoundId::Button)).parent_path()) {}

SoundPlayer::SoundPlayer(const std::filesystem::path& directory) {
    for (const SoundId id : load_order)
        sound_buffers.Load(id, (directory / std::filesystem::path(holder::FileOf(id)).filename()).string());
}

void SoundPlayer::Play(SoundId id) { Play(id, GetListenerPosition()); }

void SoundPlayer::Play(SoundId id, sf::Vector2f position) {
    if (sounds.size() >= max_live_sounds) RemoveStoppedSounds();
    if (sounds.size() >= max_live_sounds) sounds.pop_front();
    sf::Sound& sound = sounds.emplace_back(sound_buffers.Get(id));
    sound.setPosition(position.x, -position.y, 0.f);
    sound.setAttenuation(attenuation);
    sound.setMinDistance(min_distance);
    sound.setVolume(volume);
    sound.play();
}

void SoundPlayer::SetVolume(float new_volume) {
    volume = new_volume;
    for (sf::Sound& sound : sounds) sound.setVolume(volume);
}

void SoundPlayer::RemoveStoppedSounds() {
    sounds.remove_if([](const sf::Sound& sound) { return sound.getStatus() == sf::SoundSource::Stopped; });
}

void SoundPlayer::SetListenerPosition(sf::Vector2f position) {
    sf::Listener::setPosition(position.x, -position.y, listener_height);
}

sf::Vector2f SoundPlayer::GetListenerPosition() const {
    const sf::Vector3f position = sf::Listener::getPosition();
    return {position.x, -position.y};
}
