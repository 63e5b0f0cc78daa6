#include "network/rate_limit.hpp"

#include <algorithm>

namespace network {

namespace {
constexpr std::int64_t UNIT = 1000000;
constexpr std::int64_t FORGIVEN = 3;
}  // namespace

RateLimit::RateLimit(std::int64_t per_second) : rate(per_second), allowance(per_second * UNIT) {}

void RateLimit::Refill(sf::Time now) {
    const std::int64_t elapsed = std::max<std::int64_t>(0, (now - last).asMicroseconds());
    last = std::max(last, now);
    // Capped first: a silence of years must not overflow the products.
    const std::int64_t seconds_worth = std::min<std::int64_t>(elapsed, UNIT);
    allowance = std::min(rate * UNIT, allowance + seconds_worth * rate);
    refused = std::max<std::int64_t>(0, refused - std::min<std::int64_t>(elapsed, FORGIVEN * UNIT) * FORGIVEN * rate);
}

bool RateLimit::Allow(sf::Time now) {
    Refill(now);
    if (allowance >= UNIT) {
        allowance -= UNIT;
        return true;
    }
    refused += UNIT;
    return false;
}

bool RateLimit::Abusive() const { return refused > FORGIVEN * rate * UNIT; }

}  // namespace network
