#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace fuzz {

// A stream of server messages as ClientHarness::Run reads it: a 16-bit big-endian length, then
// the message; a length of 0xffff sends the next four bytes bare, as a packet's announced size.
std::vector<std::uint8_t> EncodeStream(const std::vector<std::vector<std::uint8_t>>& messages);

// A joining multiplayer client on a window of its own, its server faked in this process and its
// time stepped: whatever it is fed, it must neither crash nor hold more than a game can.
class ClientHarness {
public:
    ClientHarness();
    ~ClientHarness();
    // A fresh client fed the stream, one message per update. The first broken rule, or "".
    std::string Run(const std::uint8_t* data, std::size_t size);

private:
    struct Parts;
    std::unique_ptr<Parts> parts;
};

}  // namespace fuzz
