#pragma once

#include "sequencer.hpp"

#include <filesystem>

namespace assetgen {

// Encodes stereo samples at SAMPLE_RATE as constant-bitrate MP3. The LAME info frame at the start
// records the encoder delay and padding, so decoders that honour it return exactly the samples
// given and a loop stays gapless.
void WriteMp3(const std::filesystem::path& file, const StereoBuffer& audio, int kbps);

}  // namespace assetgen
