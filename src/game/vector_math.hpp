#pragma once

#include <SFML/System/Vector2.hpp>

#include <cmath>
#include <numbers>

// Small vector helpers that SFML 2.5 lacks.
namespace game::vector_math {

inline float Length(sf::Vector2f vector) { return std::sqrt(vector.x * vector.x + vector.y * vector.y); }

inline float Distance(sf::Vector2f lhs, sf::Vector2f rhs) { return Length(lhs - rhs); }

// The unit vector along `vector`; a zero vector has no direction, so `fallback` is returned.
inline sf::Vector2f Normalized(sf::Vector2f vector, sf::Vector2f fallback) {
    const float length = Length(vector);
    return length > 0.f ? vector / length : fallback;
}

inline float ToDegrees(float radians) { return radians * 180.f / std::numbers::pi_v<float>; }

}  // namespace game::vector_math
