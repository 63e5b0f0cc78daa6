#pragma once

namespace settings {

// Volumes go from 0 to 100 in steps of 10.
inline constexpr int volume_step = 10;
inline constexpr int max_volume = 100;

// `direction` steps (+1 up, -1 down) from `volume` to the next multiple of the step that way,
// never past 0 or 100; a hand-written 55 goes to 60 or 50.
int StepVolume(int volume, int direction);
// One step up, from 100 round to 0: all a player with only the activate key needs.
int CycleVolume(int volume);

}  // namespace settings
