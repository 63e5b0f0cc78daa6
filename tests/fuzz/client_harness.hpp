#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace fuzz {

// A joining client fed any stream by a fake server: it must neither crash nor hold too much.
class ClientHarness {
public:
    ClientHarness();
    ~ClientHarness();
    // A fresh client fed the stream, one message per update: the first broken rule, or "". Each
    // message is a 16-bit big-endian length and its bytes; 0xffff sends the next four bare.
    std::string Run(const std::uint8_t* data, std::size_t size);

private:
    struct Parts;
    std::unique_ptr<Parts> parts;
};

}  // namespace fuzz
