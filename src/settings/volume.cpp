#include "settings/volume.hpp"

#include <algorithm>

namespace settings {

int StepVolume(int volume, int direction) {
    const int below = volume / volume_step * volume_step;
    const int stepped = direction > 0 ? below + volume_step : (below == volume ? below - volume_step : below);
    return std::clamp(stepped, 0, max_volume);
}

int CycleVolume(int volume) { return volume >= max_volume ? 0 : StepVolume(volume, +1); }

}  // namespace settings
