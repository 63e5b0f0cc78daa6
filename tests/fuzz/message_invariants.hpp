#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzz {

// Hands arbitrary bytes, as one received packet, to both type readers and to every message
// reader. A type reader must accept exactly the values of its enumeration; what a message reader
// accepts must fit in the bytes it was given and come back the same when written and read again.
// Returns the first broken rule, or an empty string.
std::string CheckMessageReaders(const std::uint8_t* data, std::size_t size);

}  // namespace fuzz
