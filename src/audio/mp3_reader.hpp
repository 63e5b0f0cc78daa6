#pragma once

#include <SFML/Audio/SoundFileReader.hpp>

#include <cstdint>

struct mpg123_handle_struct;

namespace audio {

// Lets SFML 2.5 stream MP3 files (it reads WAV, OGG and FLAC only), decoding with libmpg123 to
// 16-bit samples straight from the sf::InputStream. The only place that knows about libmpg123.
class Mp3Reader : public sf::SoundFileReader {
public:
    Mp3Reader() = default;
    ~Mp3Reader() override;
    Mp3Reader(const Mp3Reader&) = delete;
    Mp3Reader& operator=(const Mp3Reader&) = delete;

    // True for MP3 data only (an ID3v2 tag, or two consistent MPEG audio frame headers), so
    // every other format still reaches SFML's own readers.
    static bool check(sf::InputStream& stream);

    bool open(sf::InputStream& stream, Info& info) override;
    // `offset` counts interleaved samples, as SFML does.
    void seek(sf::Uint64 offset) override;
    // Fewer than `max_count` samples (down to none) at the end or where the data turns undecodable;
    // never more than `open` promised.
    sf::Uint64 read(sf::Int16* samples, sf::Uint64 max_count) override;

private:
    void Close();

    mpg123_handle_struct* handle = nullptr;
    unsigned channel_count = 0;
    sf::Uint64 sample_count = 0;
    sf::Uint64 sample_offset = 0;
};

// Adds the MP3 reader to SFML's sound file factory; safe to call any number of times, from any
// thread, as long as it happens before the first MP3 is opened.
void RegisterMp3Reader();

}  // namespace audio
