#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzz {

// Hands arbitrary bytes, as one received packet, to every reader: what a message reader accepts
// must fit in the bytes and come back the same when written and read again; a type reader takes
// exactly its enumeration. Returns the first broken rule, or an empty string.
std::string CheckMessageReaders(const std::uint8_t* data, std::size_t size);

}  // namespace fuzz
