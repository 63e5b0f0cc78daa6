#pragma once

#include <filesystem>
#include <vector>

namespace assetgen {

// Writes mono 16-bit PCM at SAMPLE_RATE; samples are clamped to [-1, 1] and rounded.
void WriteMonoWav(const std::filesystem::path& file, const std::vector<float>& samples);

}  // namespace assetgen
