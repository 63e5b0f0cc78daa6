#pragma once

#include "support/net_packets.hpp"

#include <functional>
#include <vector>

namespace test::net {

// A message of each kind with values up to the protocol's limits: the packet its writer builds,
// and whether its reader gives back what was written.
struct Sample_t {
    std::int32_t type;
    sf::Packet packet;
    std::function<bool(sf::Packet&)> reads_back;
};
std::vector<Sample_t> EveryMessage();

}  // namespace test::net
