#include "network/address_file.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>

namespace network {

namespace {

const char* const LOOPBACK = "127.0.0.1";
constexpr std::size_t READ_LIMIT = 4096;

enum class Kind { Missing, Regular, Other, Unreadable };

// The first word of the file, and what stands at its path. Opening never waits: a FIFO opened
// without blocking is only looked at, never read.
Kind ReadFirstWord(const std::string& file, std::string& word) {
    const int descriptor = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) return errno == ENOENT ? Kind::Missing : Kind::Unreadable;
    struct stat status {};
    Kind kind = Kind::Other;
    if (::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode)) {
        kind = Kind::Regular;
        std::array<char, READ_LIMIT> buffer{};
        const ssize_t size = ::read(descriptor, buffer.data(), buffer.size());
        std::size_t at = 0;
        const std::size_t end = size > 0 ? static_cast<std::size_t>(size) : 0;
        while (at < end && std::isspace(static_cast<unsigned char>(buffer[at]))) ++at;
        while (at < end && !std::isspace(static_cast<unsigned char>(buffer[at]))) word += buffer[at++];
        // Blanks beyond what was read may hide an address: such a file is not ours to rewrite.
        if (word.empty() && status.st_size > static_cast<off_t>(READ_LIMIT)) kind = Kind::Other;
    }
    ::close(descriptor);
    return kind;
}

// Creates the file, or refills a regular one that holds no word; a link is never followed.
void WriteLoopback(const std::string& file, Kind kind) {
    const int flags = kind == Kind::Missing ? O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC
                                            : O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
    const int descriptor = ::open(file.c_str(), flags, 0644);
    if (descriptor < 0) return;
    struct stat status {};
    const std::string text = LOOPBACK;
    if (::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode) && ::ftruncate(descriptor, 0) == 0) {
        const ssize_t written = ::write(descriptor, text.data(), text.size());
        (void)written;  // a file that cannot be written is left as it is
    }
    ::close(descriptor);
}

}  // namespace

std::string ServerAddress_t::Shown() const { return port == SERVER_PORT ? host : host + ":" + std::to_string(port); }

ServerAddress_t ParseServerAddress(const std::string& word) {
    const std::size_t colon = word.find(':');
    if (colon == std::string::npos) return {word, SERVER_PORT, ""};
    const std::string host = word.substr(0, colon), digits = word.substr(colon + 1);
    // Short lines: the connecting screen shows this.
    const std::string quoted = "\"" + (word.size() > 24 ? word.substr(0, 24) + "..." : word) + "\"\n";
    if (digits.find(':') != std::string::npos) return {"", 0, quoted + "is not host or host:port"};
    if (host.empty()) return {"", 0, quoted + "names no host"};
    // At most five digits: no overflow, and no sign or blank slips through.
    const bool numeric = !digits.empty() && digits.size() <= 5 &&
                         std::all_of(digits.begin(), digits.end(), [](char c) { return '0' <= c && c <= '9'; });
    const long port = numeric ? std::stol(digits) : 0;
    if (port < 1 || port > 65535) return {"", 0, quoted + "needs a port from 1 to 65535"};
    return {host, static_cast<unsigned short>(port), ""};
}

ServerAddress_t ReadAddressFile(const std::string& file) {
    std::string word;
    const Kind kind = ReadFirstWord(file, word);
    if (!word.empty()) {
        ServerAddress_t address = ParseServerAddress(word);
        if (address.problem.empty()) return address;
        return {LOOPBACK, SERVER_PORT, file + ": " + address.problem + ":\ntrying " + LOOPBACK};
    }
    if (kind == Kind::Missing || kind == Kind::Regular) {
        WriteLoopback(file, kind);
        return {LOOPBACK, SERVER_PORT, ""};
    }
    return {LOOPBACK, SERVER_PORT, file + " cannot be used: trying " + LOOPBACK};
}

}  // namespace network
