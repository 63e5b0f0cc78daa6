#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace fuzz {

// Server messages as a stream ClientHarness::Run reads: each a 16-bit big-endian length and its
// bytes; a length of 0xffff sends the next four bytes bare, as a packet's announced size.
std::vector<std::uint8_t> EncodeStream(const std::vector<std::vector<std::uint8_t>>& messages);

// A joining client fed any stream by a fake server: it must neither crash nor hold too much.
class ClientHarness {
public:
    ClientHarness();
    ~ClientHarness();
    // A fresh client fed the stream, one message per update: the first broken rule, or "".
    std::string Run(const std::uint8_t* data, std::size_t size);

private:
    struct Parts;
    std::unique_ptr<Parts> parts;
};

}  // namespace fuzz
