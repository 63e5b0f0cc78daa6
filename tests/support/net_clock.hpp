#pragma once

#include "network/protocol.hpp"

#include <SFML/Config.hpp>
#include <SFML/System/Time.hpp>

#include <atomic>

namespace test::net {

// A time source stepped by hand; a server thread may read it while the test steps it.
class SteppedClock {
public:
    void Advance(sf::Time step) { micros += step.asMicroseconds(); }
    sf::Time Now() const { return sf::microseconds(micros.load()); }
    network::TimeSource Source() {
        return [this] { return Now(); };
    }

private:
    std::atomic<sf::Int64> micros{0};
};

}  // namespace test::net
