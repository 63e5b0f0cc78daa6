#pragma once

#include "network/packet_reader.hpp"
#include "network/rate_limit.hpp"

#include <SFML/Network/TcpSocket.hpp>
#include <SFML/System/Time.hpp>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace network::server {

// One connection of the server: waiting for a client until the listener accepts one into it,
// then ready until it is dropped.
struct RemotePeer {
    RemotePeer();

    bool Owns(std::int32_t identifier) const;

    sf::TcpSocket socket;
    PacketReader reader;
    // Server time of the last whole message, and of the assignment of its first aircraft.
    sf::Time last_packet_time;
    sf::Time assigned_time;
    // Empty once its mission is over: it stays connected but no longer plays.
    std::vector<std::int32_t> aircraft_identifiers;
    // Bytes it may still send before the next tick; a peer that spent them is not read, nor
    // waited for, until then.
    std::size_t receive_allowance = 0;
    // For the server's log: where it connected from (kept, as a closed socket no longer knows)
    // and why it is dropped.
    std::string address;
    const char* drop_reason = "";
    // Well above what hands on a keyboard can do.
    RateLimit one_shot_actions{20};
    RateLimit realtime_changes{120};
    RateLimit world_events{20};
    bool ready = false;
    // It has sent its first AircraftStatus: a game client, not a squatter on a join slot.
    bool reported = false;
    bool timed_out = false;
    // Part of a packet went out and the rest never will: nothing more may be sent to it.
    bool broken = false;
};

}  // namespace network::server
