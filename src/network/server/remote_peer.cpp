#include "network/server/remote_peer.hpp"

#include <algorithm>

namespace network::server {

RemotePeer::RemotePeer() { socket.setBlocking(false); }

bool RemotePeer::Owns(std::int32_t identifier) const {
    return std::find(aircraft_identifiers.begin(), aircraft_identifiers.end(), identifier) != aircraft_identifiers.end();
}

}  // namespace network::server
