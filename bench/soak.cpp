// Memory over a long session: the scripted mission (missiles, explosions, sounds, bloom) flown
// again and again in real time, with the game's own loop (fixed steps, 60 frames/s cap), a new
// world for every mission as the game makes one. Resident memory rises and falls within each
// mission, so single readings depend on the moment: the figure compares the highest reading of
// the minute after the first one with the highest of the last minute (a mission lasts under a
// minute, so both windows hold a mission's busiest moment). It must grow by at most 5%.
//
//   bench_soak [--soak-seconds N]   (default 600; under three minutes the windows are halves)
#include "scripted_flight.hpp"
#include "support.hpp"

#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/System/Clock.hpp>
#include <SFML/Window/Event.hpp>

int main(int argc, char** argv) {
    const double seconds = bench::Option(argc, argv, "--soak-seconds", 600);
    const double span = seconds >= 180 ? 60.0 : seconds / 2;
    const double baseline_from = seconds >= 180 ? 60.0 : 0.0;

    sf::RenderWindow window(sf::VideoMode(1280, 960, 32), "Kirrow - soak bench", sf::Style::Default,
                            sf::ContextSettings());
    window.setFramerateLimit(60);
    window.setView(sf::View(sf::Vector2f(320.f, 240.f), sf::Vector2f(640.f, 480.f)));
    bench::Flight flight(window);

    int missions = 1, successes = 0;
    std::uint64_t frames = 0;
    double baseline = 0.0, last_window = 0.0, highest = 0.0;
    sf::Clock clock;
    sf::Time accumulator = sf::Time::Zero;
    const double start = bench::NowMs();
    double next_report = 60.0;
    while (bench::NowMs() - start < seconds * 1000.0) {
        sf::Event event;
        while (window.pollEvent(event)) {
        }
        accumulator += clock.restart();
        while (accumulator >= bench::step_time) {
            accumulator -= bench::step_time;
            const bench::Flight::Outcome outcome = flight.Step();
            if (outcome != bench::Flight::FLYING) {
                successes += outcome == bench::Flight::SUCCESS;
                flight.Restart();
                ++missions;
            }
        }
        window.clear(sf::Color::Black);
        flight.World().Draw();
        window.display();
        ++frames;

        const double elapsed = (bench::NowMs() - start) / 1000.0;
        const double resident = bench::RssMb();
        if (elapsed >= baseline_from && elapsed < baseline_from + span) baseline = std::max(baseline, resident);
        if (elapsed >= seconds - span) last_window = std::max(last_window, resident);
        highest = std::max(highest, resident);
        if (elapsed >= next_report) {
            std::printf("%4.0f s: resident %.1f MB, mission %d\n", elapsed, bench::RssMb(), missions);
            std::fflush(stdout);
            next_report += 60.0;
        }
    }
    const double wall = (bench::NowMs() - start) / 1000.0;
    const double growth = 100.0 * (last_window - baseline) / baseline;
    std::printf("soak of %.0f s: %d missions (%d reached the top), %.1f frames/s\n", wall, missions, successes,
                static_cast<double>(frames) / wall);
    std::printf("resident memory: highest %.1f MB in %.0f-%.0f s, %.1f MB in the last %.0f s (%+.2f%%), highest of all %.1f MB\n",
                baseline, baseline_from, baseline_from + span, last_window, span, growth, highest);
    bench::Figure("soak: memory growth, 2nd minute to last (peaks)", growth, "%", true, 5.0);
    return 0;
}
