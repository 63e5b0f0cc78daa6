#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzz {

// Hands arbitrary bytes, as one received packet, to both message type readers and to every field
// reader, and checks what a reader that accepts hands out: types and actions in their ranges,
// finite numbers, lists no longer than the bytes could hold, and a value that its writer writes
// back into a packet the reader reads as the same value. Returns the first broken rule, or an
// empty string.
std::string CheckMessageReaders(const std::uint8_t* data, std::size_t size);

}  // namespace fuzz
