#include "audio/music_player.hpp"

#include "audio/mp3_reader.hpp"

#include <stdexcept>
#include <utility>

MusicPlayer::MusicPlayer(std::string directory)
    : filenames{{MusicId::MenuMusic, "menu.mp3"},
                {MusicId::MissionMusic, "mission.mp3"},
                {MusicId::GameOverMusic, "game_over.mp3"}},
      directory(std::move(directory)) {
    // SFML 2.5 reads no MP3 of its own.
    audio::RegisterMp3Reader();
    music.setRelativeToListener(true);
}

void MusicPlayer::Play(MusicId id) {
    const std::string path = directory + filenames[id];
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
