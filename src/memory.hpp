#pragma once

// Hands the heap's free pages back to the system. A mission frees much more than it keeps
// (textures, render targets, thousands of short-lived nodes and sounds); without this the C
// library holds on to the freed pages and the process grows from mission to mission.
void ReleaseFreeMemory();

// Releases free memory when it is destroyed: as an object's first member it goes last, after
// every other member has been freed.
struct FreeMemoryReleaser_t {
    FreeMemoryReleaser_t() = default;
    FreeMemoryReleaser_t(const FreeMemoryReleaser_t&) = delete;
    FreeMemoryReleaser_t& operator=(const FreeMemoryReleaser_t&) = delete;
    ~FreeMemoryReleaser_t() { ReleaseFreeMemory(); }
};
