// libFuzzer's entry points, one per fuzz build target (scripts/fuzz.sh); test_fuzz compiles this
// file empty and runs the same checks over fixed inputs in every test run.
#if defined(KIRROW_FUZZ_TARGET)
#include "fuzz/client_harness.hpp"
#include "fuzz/message_invariants.hpp"

#include <SFML/System/Err.hpp>

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
#if KIRROW_FUZZ_TARGET == 1
    const std::string failure = fuzz::CheckMessageReaders(data, size);
#else
    // The multiplayer client, run beside a build's share/ on a display.
    static fuzz::ClientHarness* harness = (sf::err().rdbuf(nullptr), new fuzz::ClientHarness());
    const std::string failure = harness->Run(data, size);
#endif
    if (!failure.empty()) {
        std::fprintf(stderr, "fault: %s\n", failure.c_str());
        std::abort();
    }
    return 0;
}
#endif
