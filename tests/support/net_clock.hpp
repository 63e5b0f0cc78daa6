#pragma once

#include "network/protocol.hpp"

#include <SFML/Config.hpp>

#include <atomic>

namespace test::net {

// A time source stepped by hand; a server thread may read it meanwhile.
class SteppedClock {
public:
    void Advance(sf::Time step) { micros += step.asMicroseconds(); }
    network::TimeSource Source() {
        return [this] { return sf::microseconds(micros.load()); };
    }

private:
    std::atomic<sf::Int64> micros{0};
};

}  // namespace test::net
