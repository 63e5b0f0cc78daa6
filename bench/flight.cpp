// World update step over the scripted single-player mission (see scripted_flight.hpp), paced
// like the game (one step per 1/60 s, so sounds end in real time as they do in play). Prints
// the median of every step, the median of the busiest second, the slowest step and a hash of the
// world's state at the end, which must not change when the code is only made faster.
//
//   bench_flight [--fast] [--steps N]
//     --fast   no pacing: steps back to back (sounds then pile up faster than in play)
#include "scripted_flight.hpp"
#include "support.hpp"

#include <SFML/Graphics/RenderTexture.hpp>
#include <SFML/System/Sleep.hpp>

#include <cinttypes>

int main(int argc, char** argv) {
    const bool fast = bench::Flag(argc, argv, "--fast");
    const int max_steps = static_cast<int>(bench::Option(argc, argv, "--steps", bench::flight_steps));

    sf::RenderTexture target;
    target.create(1280, 960);
    target.setView(sf::View(sf::Vector2f(320.f, 240.f), sf::Vector2f(640.f, 480.f)));
    bench::Flight flight(target);

    std::vector<double> times;
    std::vector<std::size_t> loads, particles;
    bench::Flight::Outcome outcome = bench::Flight::FLYING;
    const double start = bench::NowMs();
    while (outcome == bench::Flight::FLYING && static_cast<int>(flight.Steps()) < max_steps) {
        outcome = flight.Step([&](auto&& update) {
            const double before = bench::NowMs();
            update();
            times.push_back(bench::NowMs() - before);
        });
        loads.push_back(bench::NodeCount(flight.World().GetSceneGraph()));
        particles.push_back(bench::ParticleCount(flight.World().GetSceneGraph()));
        if (!fast) {
            const double due = start + static_cast<double>(flight.Steps()) * static_cast<double>(bench::step_time.asMicroseconds()) / 1000.0;
            const double wait = due - bench::NowMs();
            if (wait > 0) sf::sleep(sf::microseconds(static_cast<sf::Int64>(wait * 1000.0)));
        }
    }

    // The busiest second: the 60 steps with the highest median.
    double busiest = 0.0;
    std::size_t busiest_from = 0;
    for (std::size_t from = 0; from + 60 <= times.size(); from += 10) {
        const double median = bench::Median({times.begin() + static_cast<long>(from), times.begin() + static_cast<long>(from + 60)});
        if (median > busiest) {
            busiest = median;
            busiest_from = from;
        }
    }
    bench::StateHash hash;
    hash.AddWorld(flight.World());

    const char* outcomes[] = {"still flying", "mission success", "mission failed"};
    std::printf("scripted flight: %zu steps (%.1f s of game time), %s, up to %zu nodes and %zu particles\n",
                times.size(), static_cast<double>(times.size()) / 60.0, outcomes[outcome],
                *std::max_element(loads.begin(), loads.end()), *std::max_element(particles.begin(), particles.end()));
    std::printf("update step: median %.3f ms, 99th percentile %.3f ms, slowest %.3f ms\n", bench::Median(times),
                bench::Quantile(times, 0.99), bench::Max(times));
    std::printf("busiest second from %.1f s: median %.3f ms\n", static_cast<double>(busiest_from) / 60.0, busiest);
    std::printf("state hash after the flight: %016" PRIx64 "\n", hash.Value());
    bench::Figure("world update, median of the whole flight", bench::Median(times), "ms", true, 0.5);
    bench::Figure("world update, median of the busiest second", busiest, "ms", true, 0.5);
    return 0;
}
