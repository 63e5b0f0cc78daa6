#pragma once

#include <SFML/System/Time.hpp>

#include <cstdint>

namespace network {

// Lets through up to `per_second` events a second, with bursts of up to a second's worth, and
// keeps count of what it refuses. Refusals are forgiven at three times the rate, so only a sender
// that keeps more than four times over the limit piles them up, until it counts as abusive.
// Whole microseconds throughout: a stepped clock gives exact counts.
class RateLimit {
public:
    explicit RateLimit(std::int64_t per_second);

    // Whether one more event at `now` is within the limit; `now` never goes back.
    bool Allow(sf::Time now);
    // The refusals have outgrown what is forgiven.
    bool Abusive() const;

private:
    void Refill(sf::Time now);

    std::int64_t rate;
    // One event is worth a million units, one second of the rate `rate` million.
    std::int64_t allowance;
    std::int64_t refused = 0;
    sf::Time last;
};

}  // namespace network
