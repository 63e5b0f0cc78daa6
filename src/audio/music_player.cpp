#include "audio/music_player.hpp"

#include "audio/mp3_reader.hpp"

#include <asset/sound_format.hpp>

#include <cstddef>
#include <stdexcept>
#include <utility>

static_assert(asset::MUSIC_FILES.size() == static_cast<std::size_t>(MusicId::GameOverMusic) + 1);

MusicPlayer::MusicPlayer(std::string music_directory) : directory(std::move(music_directory)) {
    // SFML 2.5 reads no MP3 of its own.
    audio::RegisterMp3Reader();
    music.setRelativeToListener(true);
}

void MusicPlayer::Play(MusicId id) {
    const std::string path = directory + std::string(asset::MUSIC_FILES.at(static_cast<std::size_t>(id)));
    if (!music.openFromFile(path)) throw std::runtime_error("Music " + path + " could not be loaded.");
    music.setVolume(volume);
    music.setLoop(true);
    music.play();
}

void MusicPlayer::Stop() { music.stop(); }

void MusicPlayer::SetPaused(bool paused) {
    if (paused)
        music.pause();
    else
        music.play();
}

void MusicPlayer::SetVolume(float new_volume) {
    volume = new_volume;
    music.setVolume(volume);
}
