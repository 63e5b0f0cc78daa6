#pragma once

#include <SFML/Audio/Music.hpp>

#include <cstdint>
#include <string>

// In the order of the generated tracks (asset::MUSIC_FILES).
enum class MusicId : std::uint32_t {
    MenuMusic,
    MissionMusic,
    GameOverMusic,
};

// Streams one looping background track at a time. The music is not positional: it stays at the
// listener wherever the listener goes.
class MusicPlayer {
public:
    // Tracks are read from `directory`, which ends in a slash.
    explicit MusicPlayer(std::string directory = "../share/music/");
    MusicPlayer(const MusicPlayer&) = delete;
    MusicPlayer& operator=(const MusicPlayer&) = delete;

    // Starts the track from its beginning, replacing whatever played; throws std::runtime_error
    // when the file cannot be opened.
    void Play(MusicId id);
    void Stop();
    // Resuming continues where the track was paused.
    void SetPaused(bool paused);
    // 0 to 100, for the track playing now and every later one.
    void SetVolume(float new_volume);
    float GetVolume() const { return volume; }

protected:
    sf::Music music;
    float volume = 100.f;
    std::string directory;
};
