#include "audio/mp3_reader.hpp"

#include <SFML/Audio/SoundFileFactory.hpp>
#include <SFML/System/InputStream.hpp>

#include <mpg123.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdio>
#include <optional>

namespace audio {

namespace {

// What `check` needs of an MPEG audio frame header to find the next frame.
struct FrameHeader_t {
    int version = 0;  // 3 MPEG-1, 2 MPEG-2, 0 MPEG-2.5
    int layer = 0;    // 1, 2 or 3
    long sample_rate = 0;
    long length = 0;  // bytes, header included
};

// Bit rates in kbit/s by bit rate index; index 0 (free format) and 15 (invalid) are rejected.
constexpr std::array<std::array<int, 15>, 5> bit_rates = {{
    {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},  // MPEG-1 layer I
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},     // MPEG-1 layer II
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},      // MPEG-1 layer III
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},     // MPEG-2/2.5 layer I
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},          // MPEG-2/2.5 layers II, III
}};

constexpr std::array<long, 3> mpeg1_sample_rates = {44100, 48000, 32000};

std::optional<FrameHeader_t> ParseFrameHeader(const unsigned char* bytes) {
    if (bytes[0] != 0xFF || (bytes[1] & 0xE0) != 0xE0) return std::nullopt;
    FrameHeader_t header;
    header.version = (bytes[1] >> 3) & 3;
    const int layer_bits = (bytes[1] >> 1) & 3;
    const auto bit_rate_index = static_cast<std::size_t>(bytes[2] >> 4);
    const auto sample_rate_index = static_cast<std::size_t>((bytes[2] >> 2) & 3);
    const int padding = (bytes[2] >> 1) & 1;
    if (header.version == 1 || layer_bits == 0 || bit_rate_index == 0 || bit_rate_index == 15 ||
        sample_rate_index == 3 || (bytes[3] & 3) == 2)
        return std::nullopt;
    header.layer = 4 - layer_bits;
    const bool mpeg1 = header.version == 3;
    const auto table = static_cast<std::size_t>(mpeg1 ? header.layer - 1 : (header.layer == 1 ? 3 : 4));
    const long bit_rate = bit_rates[table][bit_rate_index] * 1000L;
    header.sample_rate = mpeg1_sample_rates[sample_rate_index] >> (mpeg1 ? 0 : header.version == 2 ? 1 : 2);
    if (header.layer == 1)
        header.length = (12 * bit_rate / header.sample_rate + padding) * 4;
    else
        header.length = (header.layer == 3 && !mpeg1 ? 72 : 144) * bit_rate / header.sample_rate + padding;
    return header;
}

bool IsId3v2Tag(const std::array<unsigned char, 10>& bytes) {
    if (bytes[0] != 'I' || bytes[1] != 'D' || bytes[2] != '3' || bytes[3] == 0xFF || bytes[4] == 0xFF)
        return false;
    for (std::size_t i = 6; i < 10; ++i)
        if (bytes[i] & 0x80) return false;  // the tag size is stored in 7-bit bytes
    return true;
}

mpg123_ssize_t ReadStream(void* source, void* buffer, std::size_t size) {
    const sf::Int64 count = static_cast<sf::InputStream*>(source)->read(buffer, static_cast<sf::Int64>(size));
    return count < 0 ? -1 : static_cast<mpg123_ssize_t>(count);
}

off_t SeekStream(void* source, off_t offset, int whence) {
    auto& stream = *static_cast<sf::InputStream*>(source);
    sf::Int64 base = 0;
    if (whence == SEEK_CUR)
        base = stream.tell();
    else if (whence == SEEK_END)
        base = stream.getSize();
    else if (whence != SEEK_SET)
        return -1;
    if (base < 0 || base + offset < 0) return -1;
    return static_cast<off_t>(stream.seek(base + offset));
}

void InitLibrary() {
    // Required by libmpg123 before 1.27, harmless after; never undone while SFML may stream.
    static const int result = mpg123_init();
    (void)result;
}

}  // namespace

Mp3Reader::~Mp3Reader() { Close(); }

bool Mp3Reader::check(sf::InputStream& stream) {
    const sf::Int64 start = stream.tell();
    std::array<unsigned char, 10> head{};
    const sf::Int64 count = stream.read(head.data(), static_cast<sf::Int64>(head.size()));
    if (count == static_cast<sf::Int64>(head.size()) && IsId3v2Tag(head)) return true;
    if (count < 4) return false;
    const auto first = ParseFrameHeader(head.data());
    if (!first) return false;
    // One plausible header may be chance; a second one right where the first frame ends is not.
    std::array<unsigned char, 4> next{};
    if (start < 0 || stream.seek(start + first->length) < 0 ||
        stream.read(next.data(), static_cast<sf::Int64>(next.size())) < static_cast<sf::Int64>(next.size()))
        return true;  // a file of a single frame
    const auto second = ParseFrameHeader(next.data());
    return second && second->version == first->version && second->layer == first->layer &&
           second->sample_rate == first->sample_rate;
}

bool Mp3Reader::open(sf::InputStream& stream, Info& info) {
    Close();
    InitLibrary();
    handle = mpg123_new(nullptr, nullptr);
    if (!handle) return false;
    mpg123_param(handle, MPG123_ADD_FLAGS, MPG123_QUIET, 0.);
    // 16-bit output at the file's own rate and channel count.
    const long* rates = nullptr;
    std::size_t rate_count = 0;
    mpg123_rates(&rates, &rate_count);
    mpg123_format_none(handle);
    for (std::size_t i = 0; i < rate_count; ++i)
        mpg123_format(handle, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);

    long rate = 0;
    int channels = 0;
    int encoding = 0;
    if (mpg123_replace_reader_handle(handle, ReadStream, SeekStream, nullptr) != MPG123_OK ||
        mpg123_open_handle(handle, &stream) != MPG123_OK ||
        mpg123_getformat(handle, &rate, &channels, &encoding) != MPG123_OK || encoding != MPG123_ENC_SIGNED_16 ||
        rate <= 0 || channels <= 0) {
        Close();
        return false;
    }
    // Holds the format for the whole stream: later frames that differ get converted to it.
    mpg123_format_none(handle);
    mpg123_format(handle, rate, channels == 1 ? MPG123_MONO : MPG123_STEREO, encoding);
    // A full scan gives the exact length even without an encoder's header or for a cut file.
    const off_t frames = mpg123_scan(handle) == MPG123_OK ? mpg123_length(handle) : off_t{-1};
    if (frames <= 0) {
        Close();
        return false;
    }
    channel_count = static_cast<unsigned>(channels);
    info.channelCount = channel_count;
    info.sampleRate = static_cast<unsigned>(rate);
    info.sampleCount = static_cast<sf::Uint64>(frames) * channel_count;
    sample_count = info.sampleCount;
    sample_offset = 0;
    return true;
}

void Mp3Reader::seek(sf::Uint64 offset) {
    if (!handle) return;
    const off_t frame = mpg123_seek(handle, static_cast<off_t>(offset / channel_count), SEEK_SET);
    sample_offset = frame < 0 ? sample_count : static_cast<sf::Uint64>(frame) * channel_count;
}

sf::Uint64 Mp3Reader::read(sf::Int16* samples, sf::Uint64 max_count) {
    if (!handle || sample_offset >= sample_count) return 0;
    // Damaged frames may decode to more than the scan counted; the promised length holds.
    max_count = std::min(max_count, sample_count - sample_offset);
    auto* out = reinterpret_cast<unsigned char*>(samples);
    const std::size_t wanted = static_cast<std::size_t>(max_count) * sizeof(sf::Int16);
    std::size_t filled = 0;
    while (filled < wanted) {
        std::size_t done = 0;
        const int result = mpg123_read(handle, out + filled, wanted - filled, &done);
        filled += done;
        // Track end, a damaged stream or a decoder that stalls all end the data here.
        if (result != MPG123_NEW_FORMAT && (result != MPG123_OK || done == 0)) break;
    }
    sample_offset += filled / sizeof(sf::Int16);
    return filled / sizeof(sf::Int16);
}

void Mp3Reader::Close() {
    if (handle) mpg123_delete(handle);  // closes the stream too
    handle = nullptr;
    channel_count = 0;
    sample_count = 0;
    sample_offset = 0;
}

void RegisterMp3Reader() {
    static const bool registered = [] {
        sf::SoundFileFactory::registerReader<Mp3Reader>();
        return true;
    }();
    (void)registered;
}

}  // namespace audio
