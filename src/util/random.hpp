#pragma once

// A uniformly distributed integer in [min, max) from the one process-wide generator. The
// generator starts from the same seed in every run, so runs replay the same sequence; draws
// from the server thread and the game thread may overlap safely.
int RandomInt(int min, int max);
