#include "mp3_encoder.hpp"

#include "synth.hpp"

#include <asset/sound_format.hpp>

#include <lame/lame.h>

#include <algorithm>
#include <cassert>
#include <fstream>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <vector>

namespace assetgen {
namespace {

struct LameCloser {
    void operator()(lame_global_flags* flags) const { lame_close(flags); }
};

void Check(bool ok, const char* what) {
    if (!ok)
        throw std::runtime_error(std::string("mp3 encoding failed: ") + what);
}

}  // namespace

void WriteMp3(const std::filesystem::path& file, const StereoBuffer& audio, int kbps) {
    assert(audio.left.size() == audio.right.size());
    // LAME fills process-wide tables while it sets up, so encoders take turns.
    static std::mutex lame_mutex;
    const std::lock_guard lock(lame_mutex);
    std::unique_ptr<lame_global_flags, LameCloser> lame(lame_init());
    Check(lame != nullptr, "lame_init");
    lame_global_flags* gf = lame.get();
    lame_set_in_samplerate(gf, SAMPLE_RATE);
    lame_set_out_samplerate(gf, SAMPLE_RATE);
    lame_set_num_channels(gf, asset::MUSIC_CHANNELS);
    lame_set_mode(gf, JOINT_STEREO);
    lame_set_VBR(gf, vbr_off);
    lame_set_brate(gf, kbps);
    lame_set_quality(gf, 5);
    lame_set_bWriteVbrTag(gf, 1);
    lame_set_write_id3tag_automatic(gf, 0);
    Check(lame_init_params(gf) >= 0, "lame_init_params");

    constexpr std::size_t chunk = 8192;
    std::vector<unsigned char> mp3;
    std::vector<unsigned char> buffer(chunk * 5 / 4 + 7200);
    for (std::size_t at = 0; at < audio.left.size(); at += chunk) {
        const auto count = static_cast<int>(std::min(chunk, audio.left.size() - at));
        const int written = lame_encode_buffer_ieee_float(gf, audio.left.data() + at, audio.right.data() + at, count,
                                                          buffer.data(), static_cast<int>(buffer.size()));
        Check(written >= 0, "lame_encode_buffer_ieee_float");
        mp3.insert(mp3.end(), buffer.begin(), buffer.begin() + written);
    }
    const int flushed = lame_encode_flush(gf, buffer.data(), static_cast<int>(buffer.size()));
    Check(flushed >= 0, "lame_encode_flush");
    mp3.insert(mp3.end(), buffer.begin(), buffer.begin() + flushed);

    // The stream starts with a placeholder frame; the finished info frame replaces it.
    std::vector<unsigned char> tag(4096);
    const std::size_t tag_size = lame_get_lametag_frame(gf, tag.data(), tag.size());
    Check(tag_size > 0 && tag_size <= tag.size() && tag_size <= mp3.size(), "lame_get_lametag_frame");
    std::copy_n(tag.begin(), tag_size, mp3.begin());

    std::filesystem::create_directories(file.parent_path());
    std::ofstream stream(file, std::ios::binary);
    stream.write(reinterpret_cast<const char*>(mp3.data()), static_cast<std::streamsize>(mp3.size()));
    if (!stream)
        throw std::runtime_error("cannot write " + file.string());
}

}  // namespace assetgen
