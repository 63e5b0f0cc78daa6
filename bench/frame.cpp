// Whole mission frames (world update + draw + window display) at 1280 x 960 during the busiest
// 10 s of the scripted mission, drawn through the bloom effect and directly, alternating frame by
// frame so both see the same scenes and the same machine load. No frame rate limit: the figures
// are what the machine could do.
//
// The busiest 10 s (most nodes in the tree) are found first by a child process that flies the
// whole mission without drawing; the shared random sequence then starts afresh for the measured
// flight, which therefore replays the same mission.
//
//   bench_frame [--shot DIRECTORY]   (saves a bloom and a direct frame from mid-window as PNG)
#include "scripted_flight.hpp"
#include "support.hpp"

#include "effect/post_effect.hpp"

#include <SFML/Graphics/RenderTexture.hpp>
#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Window/Event.hpp>

#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int window_steps = 600;

struct Window_t {
    int from = 0;
    int steps = 0;
};

// Flies the mission without drawing and returns where its busiest 10 s begin.
Window_t FindBusiestWindow() {
    sf::RenderTexture target;
    target.create(1280, 960);
    target.setView(sf::View(sf::Vector2f(320.f, 240.f), sf::Vector2f(640.f, 480.f)));
    bench::Flight flight(target);
    std::vector<std::size_t> loads;
    while (flight.Step() == bench::Flight::FLYING && flight.Steps() < bench::flight_steps)
        loads.push_back(bench::NodeCount(flight.World().GetSceneGraph()));
    Window_t busiest{0, static_cast<int>(loads.size())};
    std::size_t best = 0, sum = 0;
    for (std::size_t i = 0; i < loads.size(); ++i) {
        sum += loads[i];
        if (i >= window_steps) sum -= loads[i - window_steps];
        if (i + 1 >= window_steps && sum > best) {
            best = sum;
            busiest.from = static_cast<int>(i + 1 - window_steps);
        }
    }
    return busiest;
}

Window_t FindBusiestWindowInChild() {
    int channel[2];
    if (pipe(channel) != 0) return {};
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        const Window_t window = FindBusiestWindow();
        const ssize_t written = write(channel[1], &window, sizeof window);
        _exit(written == sizeof window ? 0 : 1);
    }
    close(channel[1]);
    Window_t window;
    const ssize_t got = read(channel[0], &window, sizeof window);
    close(channel[0]);
    waitpid(child, nullptr, 0);
    return got == sizeof window ? window : Window_t{};
}

void Save(sf::RenderWindow& window, const std::string& file) {
    sf::Texture picture;
    picture.create(window.getSize().x, window.getSize().y);
    picture.update(window);
    picture.copyToImage().saveToFile(file);
}

}  // namespace

int main(int argc, char** argv) {
    std::string shot_directory;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::string(argv[i]) == "--shot") shot_directory = argv[i + 1];

    const Window_t busiest = FindBusiestWindowInChild();
    if (busiest.steps == 0) {
        std::puts("the scripted flight could not be run");
        return 1;
    }

    sf::RenderWindow window(sf::VideoMode(1280, 960, 32), "Kirrow - frame bench", sf::Style::Default,
                            sf::ContextSettings());
    window.setVerticalSyncEnabled(false);
    window.setView(sf::View(sf::Vector2f(320.f, 240.f), sf::Vector2f(640.f, 480.f)));
    if (!effect::PostEffect::IsSupported()) {
        std::puts("shaders are not available: no bloom to measure");
        return 1;
    }
    bench::Flight flight(window);
    while (static_cast<int>(flight.Steps()) < busiest.from) flight.Step();

    std::vector<double> bloom_frames, direct_frames, updates;
    const int frames = std::min(window_steps, busiest.steps - busiest.from);
    const double cpu_start = bench::ProcessCpuMs(), wall_start = bench::NowMs();
    for (int frame = 0; frame < frames; ++frame) {
        sf::Event event;
        while (window.pollEvent(event)) {
        }
        const bool bloom = frame % 2 == 0;
        const double start = bench::NowMs();
        flight.Step();
        updates.push_back(bench::NowMs() - start);
        flight.World().UsePostEffects(bloom);
        window.clear(sf::Color::Black);
        flight.World().Draw();
        window.display();
        (bloom ? bloom_frames : direct_frames).push_back(bench::NowMs() - start);
        if (!shot_directory.empty() && frame >= frames / 2 && frame < frames / 2 + 2)
            Save(window, shot_directory + (bloom ? "/frame_bloom.png" : "/frame_direct.png"));
    }
    const double cpu_share = (bench::ProcessCpuMs() - cpu_start) / (bench::NowMs() - wall_start);

    const double bloom_fps = 1000.0 / bench::Median(bloom_frames);
    const double direct_fps = 1000.0 / bench::Median(direct_frames);
    std::printf("busiest 10 s from %.1f s of a %.1f s flight, %d frames\n", busiest.from / 60.0, busiest.steps / 60.0,
                frames);
    std::printf("bloom:  median %.2f ms (%.1f frames/s), fastest tenth %.2f ms, slowest %.2f ms\n",
                bench::Median(bloom_frames), bloom_fps, bench::Quantile(bloom_frames, 0.1), bench::Max(bloom_frames));
    std::printf("direct: median %.2f ms (%.1f frames/s), fastest tenth %.2f ms, slowest %.2f ms\n",
                bench::Median(direct_frames), direct_fps, bench::Quantile(direct_frames, 0.1),
                bench::Max(direct_frames));
    std::printf("update part: median %.3f ms; processor use %.0f%% of one core (renderer threads included)\n",
                bench::Median(updates), cpu_share * 100.0);
    std::printf("memory: resident %.1f MB now, peak %.1f MB\n", bench::RssMb(), bench::PeakRssMb());
    bench::Figure("mission frame with bloom, busiest 10 s", bloom_fps, "frames/s", false, 35.0);
    bench::Figure("mission frame direct (no shaders), busiest 10 s", direct_fps, "frames/s", false, 120.0);
    bench::Info("benchmark process memory (peak resident, world + bloom)", bench::PeakRssMb(), "MB");
    return 0;
}
