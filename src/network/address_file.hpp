#pragma once

#include <string>

namespace network {

struct ServerAddress_t {
    // What to connect to: the file's first word, or the loopback address.
    std::string name;
    // Why the file was not used, for the connecting screen; empty when nothing is amiss.
    std::string problem;
};

// Reads the server's address from the first word of a joining client's address file. Only a
// regular file is read, and only its first kilobytes: a FIFO or a device there would block the
// game or never end. Without a word the loopback address is used, and written into the file where
// no file stands or a regular one without a word; never through a symbolic link.
ServerAddress_t ReadAddressFile(const std::string& file);

}  // namespace network
