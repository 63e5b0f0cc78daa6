#include "memory.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

long ResidentKb() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}

// What a mission leaves behind: many small blocks, freed, below a few still alive at the top of
// the heap. The freed pages must go back, or every mission adds to the process's size.
TEST(MemoryTest, FreedSmallBlocksGoBackToTheSystem) {
#if !defined(__GLIBC__) || defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "only the GNU C library's own allocator keeps freed pages";
#endif
    std::vector<std::unique_ptr<char[]>> blocks;
    for (int i = 0; i < 400000; ++i) {
        blocks.push_back(std::make_unique<char[]>(200));
        blocks.back()[0] = static_cast<char>(i);
    }
    auto survivor = std::make_unique<char[]>(200);  // pins the top of the heap
    const long filled = ResidentKb();
    blocks.clear();
    blocks.shrink_to_fit();
    const long freed = ResidentKb();
    ReleaseFreeMemory();
    const long released = ResidentKb();
    // About 90 MB were in use; most of it is still held after freeing, and gone after releasing.
    EXPECT_GT(filled - released, 50 * 1024) << "filled " << filled << " kB, freed " << freed << " kB, released "
                                            << released << " kB";
    survivor.reset();
}

}  // namespace
