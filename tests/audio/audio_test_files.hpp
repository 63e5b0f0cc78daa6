#pragma once

#include <SFML/Config.hpp>

#include <filesystem>
#include <string>
#include <vector>

// Small sound files made on the fly, so the audio tests need none of the game's assets.
namespace audio_test {

// A fresh directory under the system's temporary directory, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return path; }
    std::filesystem::path operator/(const std::string& name) const { return path / name; }

private:
    std::filesystem::path path;
};

// A sine tone, interleaved, the same on every channel.
std::vector<sf::Int16> Tone(float frequency, float seconds, unsigned rate, unsigned channels, float amplitude = 0.5f);

void WriteWav(const std::filesystem::path& file, const std::vector<sf::Int16>& samples, unsigned channels,
              unsigned rate);
// The seven sound effect files, mono; each lasts `seconds` plus 10 ms per identifier value so a
// buffer tells which file it came from.
void WriteSoundEffects(const std::filesystem::path& directory, float seconds);

// Encodes with LAME at 128 kbit/s, including the leading info frame that carries the exact length.
std::vector<unsigned char> EncodeMp3(const std::vector<sf::Int16>& samples, unsigned channels, unsigned rate);

void WriteBytes(const std::filesystem::path& file, const std::vector<unsigned char>& bytes);
std::vector<unsigned char> ReadBytes(const std::filesystem::path& file);

// The largest absolute sample value.
int Peak(const std::vector<sf::Int16>& samples);

}  // namespace audio_test
