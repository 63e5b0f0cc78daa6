#pragma once

#include "network/protocol.hpp"

#include <string>

namespace network {

struct ServerAddress_t {
    // What to connect to: the file's first word, or the loopback address.
    std::string host;
    unsigned short port = SERVER_PORT;
    // Why the file was not used, for the connecting screen; empty when nothing is amiss.
    std::string problem;

    // As a player writes it: the host alone on the game's port.
    std::string Shown() const;
};

// "host" (the game's port) or "host:port"; anything else leaves `host` empty and says why in
// `problem`.
ServerAddress_t ParseServerAddress(const std::string& word);

// Reads the server's address from the first word of a joining client's address file. Only a
// regular file is read, and only its first kilobytes: a FIFO or a device there would block the
// game or never end. Without a usable word the loopback address is used; it is written into the
// file where no file stands or a regular one without a word, never through a symbolic link and
// never over anything a player wrote.
ServerAddress_t ReadAddressFile(const std::string& file);

}  // namespace network
