#pragma once

// Hands the heap's free pages back to the system. A mission frees much more than it keeps
// (textures, render targets, thousands of short-lived nodes and sounds); without this the C
// library holds on to the freed pages and the process grows from mission to mission.
void ReleaseFreeMemory();

// Releases free memory when it is destroyed: as an object's first member it goes last, after
// every other member has been freed.
class FreeMemoryReleaser {
public:
    FreeMemoryReleaser() = default;
    FreeMemoryReleaser(const FreeMemoryReleaser&) = delete;
    FreeMemoryReleaser& operator=(const FreeMemoryReleaser&) = delete;
    ~FreeMemoryReleaser() { ReleaseFreeMemory(); }
};
