#pragma once

#include <holder/holders.hpp>
#include <holder/resource_id.hpp>

#include <SFML/Audio/Sound.hpp>
#include <SFML/Audio/SoundBuffer.hpp>
#include <SFML/System/Vector2.hpp>

#include <filesystem>
#include <list>

// Plays the short sound effects as positional sounds in the 2-D world and places the one
// listener. World (x, y), y growing downward, maps to audio space (x, -y, 0); the listener
// hovers above the plane.
class SoundPlayer {
public:
    // Loads every sound effect; a missing file throws the holder's error.
    SoundPlayer();
    // The same, from another directory holding the same file names.
    explicit SoundPlayer(const std::filesystem::path& directory);
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;

    // At the listener's current position: full volume, wherever the listener is.
    void Play(holder::SoundId id);
    void Play(holder::SoundId id, sf::Vector2f position);
    void RemoveStoppedSounds();

    // 0 to 100, for the sounds playing now and every later one.
    void SetVolume(float new_volume);
    float GetVolume() const { return volume; }

    void SetListenerPosition(sf::Vector2f position);
    sf::Vector2f GetListenerPosition() const;

    static constexpr float listener_height = 300.f;
    // Full volume within 200 units in the plane: sqrt(300^2 + 200^2) away from the listener.
    static constexpr float min_distance = 360.5551f;
    static constexpr float attenuation = 8.f;
    // OpenAL offers 256 sources in all and music streams need some; beyond this many live
    // effects the oldest one gives way, so a busy battle never asks for a source it can't have.
    static constexpr std::size_t max_live_sounds = 64;

protected:
    holder::SoundBufferHolder sound_buffers;
    // Sounds play from their list node and are never moved: sf::Sound must stay put while playing.
    std::list<sf::Sound> sounds;
    float volume = 100.f;
};
