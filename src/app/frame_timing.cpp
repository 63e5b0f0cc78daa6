#include "app/frame_timing.hpp"

#include <fmt/format.h>

int TakeFixedSteps(sf::Time& accumulator, sf::Time step) {
    int steps = 0;
    while (accumulator >= step) {
        accumulator -= step;
        ++steps;
    }
    return steps;
}

std::optional<std::string> CountFrame(FrameStatistics_t& statistics, sf::Time elapsed) {
    statistics.update_time += elapsed;
    statistics.num_frames += 1;
    if (statistics.update_time < sf::seconds(1.f)) return std::nullopt;

    const float frames = static_cast<float>(statistics.num_frames);
    const float frames_per_second = frames / statistics.update_time.asSeconds();
    const float usec_per_frame = static_cast<float>(statistics.update_time.asMicroseconds()) / frames;
    statistics.update_time -= sf::seconds(1.f);
    statistics.num_frames = 0;
    return fmt::format("{:.1f} frames / second\n{:.1f} usec / frame", frames_per_second, usec_per_frame);
}
