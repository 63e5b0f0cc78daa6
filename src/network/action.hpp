#pragma once

#include <SFML/System/Vector2.hpp>

#include <cstdint>

namespace network::action {

// A game event that the local world reports to the server.
struct NetAction {
    enum Type : std::int32_t {
        EnemyExplosion,
        TypeCount,
    };

    sf::Vector2f position;
    Type type = EnemyExplosion;

    bool operator==(const NetAction&) const = default;
};

}  // namespace network::action
