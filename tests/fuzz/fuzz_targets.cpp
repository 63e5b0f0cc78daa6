// libFuzzer's entry points for the fuzz build (scripts/fuzz.sh). test_fuzz compiles this file
// empty: the checks it calls are built there too, so that they keep compiling, but run only here.
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
    // Never destroyed: the window and the audio device go with the process.
    static fuzz::ClientHarness* const harness = [] {
        sf::err().rdbuf(nullptr);
        return new fuzz::ClientHarness();
    }();
    const std::string failure = harness->Run(data, size);
#endif
    if (failure.empty()) return 0;
    std::fprintf(stderr, "fault: %s\n", failure.c_str());
    std::abort();
}
#endif
