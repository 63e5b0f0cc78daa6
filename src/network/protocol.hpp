#pragma once

#include "rules/mission_rules.hpp"

#include <SFML/System/Time.hpp>

#include <cstddef>
#include <cstdint>
#include <functional>

namespace sf {
class Packet;
class TcpSocket;
}  // namespace sf

namespace network {

// The game's port, unless a dedicated server was started on another.
inline constexpr unsigned short SERVER_PORT = 5000;

// Messages from a client to the server; the value travels as the first field of each packet.
struct ClientMessage {
    enum t : std::int32_t {
        OneShotAction,
        Leave,
        RealtimeActionChange,
        RequestSecondAircraft,
        AircraftStatus,
        WorldEvent,
        COUNT,
    };
};

// Messages from the server to a client.
struct ServerMessage {
    enum t : std::int32_t {
        Notice,
        AssignAircraft,
        WorldSnapshot,
        OneShotAction,
        RealtimeActionChange,
        AircraftJoined,
        AircraftLeft,
        SecondAircraftAccepted,
        SpawnEnemy,
        SpawnPickup,
        WorldStatus,
        MissionComplete,
        COUNT,
    };
};

// Aircraft and pickup types travel as plain integers. Aircraft types [0, PLAYER_CHARACTER_TYPE_COUNT)
// are the players', the rest up to CHARACTER_TYPE_COUNT the enemies'.
using rules::CHARACTER_TYPE_COUNT;
using rules::PICKUP_TYPE_COUNT;
using rules::PLAYER_CHARACTER_TYPE_COUNT;
static_assert(0 < PLAYER_CHARACTER_TYPE_COUNT && PLAYER_CHARACTER_TYPE_COUNT < CHARACTER_TYPE_COUNT,
              "a game has players' and enemies' aircraft");
static_assert(PICKUP_TYPE_COUNT > 0, "the server draws a pickup type for every pickup");

// What a game can hold. Anyone can be a peer, so a receiver refuses whatever goes beyond these
// like any malformed message, before it costs memory or time.
inline constexpr std::size_t MAX_PEERS = 10;
inline constexpr std::size_t MAX_AIRCRAFT_PER_PEER = 2;
inline constexpr std::size_t MAX_AIRCRAFT = MAX_PEERS * MAX_AIRCRAFT_PER_PEER;
// Far above the largest message a game sends (a snapshot of every aircraft is under 600 bytes).
inline constexpr std::size_t MAX_PACKET_SIZE = 64 * 1024;
// Positions, offsets and battlefield edges: far beyond the world's height, so a battlefield that
// keeps rising for hours is still inside this.
inline constexpr float MAX_COORDINATE = 1000000.f;
static_assert(MAX_COORDINATE >= 100.f * rules::WORLD_HEIGHT, "every place of a game is a coordinate");
// Hitpoints and missiles grow by pickups only: a game never comes near, and sums stay in range.
inline constexpr std::int32_t MAX_COUNTER = 1000000;

// Where the network's code takes the time from: a clock started with it in a game, a clock
// stepped by hand in tests.
using TimeSource = std::function<sf::Time()>;
TimeSource StartClock();

enum class SendResult {
    Sent,     // the whole packet is on its way
    Dropped,  // nothing of it was written; the stream is intact and the connection usable
    Broken,   // only part of it was written; the stream is corrupt and the connection must be given up
};

// How long a send that has started may wait for a peer that stopped reading.
inline constexpr std::int32_t SEND_STALL_LIMIT_MS = 500;

// Sends one packet from its first byte, whatever was sent of this packet object before, so that a
// broadcast may pass the same packet to every peer. A non-blocking socket that takes only part of
// it is waited on, up to stall_limit in all, until the rest is written.
// Callers: Dropped may be ignored (the packet is lost, nothing else); on Broken the server drops
// the peer and a client counts its connection to the server as lost.
SendResult SendPacket(sf::TcpSocket& socket, const sf::Packet& packet, sf::Time stall_limit = sf::milliseconds(SEND_STALL_LIMIT_MS));

}  // namespace network
