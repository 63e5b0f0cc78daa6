#pragma once

#include <rules/mission_rules.hpp>

#include <SFML/System/Time.hpp>

#include <cstdint>
#include <optional>
#include <string>

// The fixed update step.
inline const sf::Time time_per_frame = sf::microseconds(rules::STEP_MICROSECONDS);

// Takes as many whole steps out of the accumulator as it holds and returns their count.
int TakeFixedSteps(sf::Time& accumulator, sf::Time step = time_per_frame);

// Frame rate statistics refreshed once a second; the remainder carries into the next period.
struct FrameStatistics_t {
    sf::Time update_time = sf::Time::Zero;
    std::uint64_t num_frames = 0;
};

// Counts one frame; returns the new statistics text when a second has accumulated.
std::optional<std::string> CountFrame(FrameStatistics_t& statistics, sf::Time elapsed);
