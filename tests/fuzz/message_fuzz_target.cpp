#include "fuzz/message_invariants.hpp"

#include <cstdio>
#include <cstdlib>
#include <string>

// libFuzzer's entry point (scripts/fuzz.sh builds it with clang); test_fuzz runs the same checks
// over a fixed set of inputs in every test run.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string failure = fuzz::CheckMessageReaders(data, size);
    if (!failure.empty()) {
        std::fprintf(stderr, "message reader fault: %s\n", failure.c_str());
        std::abort();
    }
    return 0;
}
