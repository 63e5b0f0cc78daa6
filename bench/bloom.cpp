// Frame time of the playing field drawn through the bloom effect versus drawn directly, at the
// game's window size on a busy scene. Every frame ends with a window display, which waits for the
// renderer, so shader work is counted.
//
//   bench_bloom [frames] [--shot before.png after.png]
#include "effect/bloom.hpp"

#include <SFML/Graphics.hpp>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <time.h>
#include <vector>

namespace {

const sf::Vector2u window_size(1280, 960);

// Mottled mid and dark greens with a few lighter leaves, like the game's ground.
sf::Texture MakeGround() {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> jitter(-12, 12);
    sf::Image image;
    image.create(128, 128);
    for (unsigned y = 0; y < 128; ++y)
        for (unsigned x = 0; x < 128; ++x) {
            const float wave = 0.5f + 0.25f * std::sin(static_cast<float>(x) * 0.19f) +
                               0.25f * std::cos(static_cast<float>(y) * 0.23f + static_cast<float>(x) * 0.05f);
            const auto light = static_cast<float>(jitter(random));
            image.setPixel(x, y, sf::Color(static_cast<sf::Uint8>(30 + 30 * wave + light),
                                           static_cast<sf::Uint8>(70 + 70 * wave + light),
                                           static_cast<sf::Uint8>(25 + 25 * wave + light)));
        }
    sf::Texture texture;
    texture.loadFromImage(image);
    texture.setRepeated(true);
    return texture;
}

std::unique_ptr<sf::Shape> Circle(sf::Vector2f at, float radius, sf::Color color) {
    auto circle = std::make_unique<sf::CircleShape>(radius, 16);
    circle->setOrigin(radius, radius);
    circle->setPosition(at);
    circle->setFillColor(color);
    return circle;
}

std::unique_ptr<sf::Shape> Box(sf::Vector2f at, sf::Vector2f size, sf::Color color) {
    auto box = std::make_unique<sf::RectangleShape>(size);
    box->setOrigin(size / 2.f);
    box->setPosition(at);
    box->setFillColor(color);
    return box;
}

// Bullets, missiles with exhaust, aircraft and explosions over the ground; the view is the
// game's 640 x 480 logical screen.
struct Scene {
    sf::Texture ground_texture = MakeGround();
    sf::Sprite ground;
    std::vector<std::unique_ptr<sf::Shape>> shapes;

    explicit Scene(bool busy) {
        ground.setTexture(ground_texture);
        ground.setTextureRect(sf::IntRect(0, 0, 640, 480));
        std::mt19937 random(11);
        std::uniform_real_distribution<float> x(20.f, 620.f), y(20.f, 460.f);
        const int count = busy ? 1 : 0;
        for (int i = 0; i < 4 + 3 * count; ++i) {  // aircraft: mid-grey and olive, must not glow
            const sf::Vector2f at(x(random), y(random));
            shapes.push_back(Box(at, {36.f, 10.f}, sf::Color(120, 125, 110)));
            shapes.push_back(Box(at, {8.f, 30.f}, sf::Color(95, 110, 80)));
        }
        for (int i = 0; i < 8 + 22 * count; ++i)  // allied bullets: near-white yellow
            shapes.push_back(Box({x(random), y(random)}, {3.f, 8.f}, sf::Color(255, 250, 190)));
        for (int i = 0; i < 3 + 5 * count; ++i)  // enemy bullets: hot red-orange
            shapes.push_back(Circle({x(random), y(random)}, 2.5f, sf::Color(255, 120, 60)));
        for (int i = 0; i < 2 + 2 * count; ++i) {  // missiles: light body, orange exhaust
            const sf::Vector2f at(x(random), y(random));
            shapes.push_back(Box(at, {4.f, 14.f}, sf::Color(220, 220, 210)));
            shapes.push_back(Circle(at + sf::Vector2f(0.f, 10.f), 3.f, sf::Color(255, 160, 40)));
        }
        for (int i = 0; i < 1 + 2 * count; ++i) {  // explosions: dark red rim, orange, yellow core
            const sf::Vector2f at(x(random), y(random));
            shapes.push_back(Circle(at, 26.f, sf::Color(150, 40, 10)));
            shapes.push_back(Circle(at, 19.f, sf::Color(240, 110, 20)));
            shapes.push_back(Circle(at, 10.f, sf::Color(255, 220, 120)));
        }
    }

    void Draw(sf::RenderTarget& target) const {
        target.setView(sf::View(sf::FloatRect(0.f, 0.f, 640.f, 480.f)));
        target.draw(ground);
        for (const auto& shape : shapes)
            target.draw(*shape);
        target.setView(target.getDefaultView());
    }
};

double ProcessCpuMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// Other programs on a shared machine stretch single frames, so the ways of drawing take turns
// frame by frame and meet the same conditions. The fast tenth shows what the machine does when left
// alone, the processor time (all renderer threads) what a frame costs in total.
struct Figures_t {
    double median_ms;
    double fast_ms;
    double cpu_ms;
};

std::vector<Figures_t> TimeFrames(sf::RenderWindow& window, int frames,
                                  const std::vector<std::function<void()>>& ways) {
    std::vector<std::vector<double>> times(ways.size());
    std::vector<double> cpu_ms(ways.size(), 0.0);
    for (int i = -10; i < frames; ++i)
        for (std::size_t way = 0; way < ways.size(); ++way) {
            const auto start = std::chrono::steady_clock::now();
            const double cpu_start = ProcessCpuMilliseconds();
            ways[way]();
            window.display();
            if (i < 0)
                continue;  // warming up
            cpu_ms[way] += ProcessCpuMilliseconds() - cpu_start;
            times[way].push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        }
    std::vector<Figures_t> figures;
    for (std::size_t way = 0; way < ways.size(); ++way) {
        std::sort(times[way].begin(), times[way].end());
        figures.push_back({times[way][times[way].size() / 2], times[way][times[way].size() / 10], cpu_ms[way] / frames});
    }
    return figures;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void Print(const char* name, const Figures_t& figures) {
    std::printf("%-7s median %6.2f ms (%5.1f frames/s)   fast tenth %6.2f ms (%5.1f frames/s)   cpu %6.2f ms\n",
                name, figures.median_ms, 1000.0 / figures.median_ms, figures.fast_ms, 1000.0 / figures.fast_ms,
                figures.cpu_ms);
}

void SaveShots(effect::bloom::BloomEffect& bloom, const Scene& scene, const char* before, const char* after) {
    sf::RenderTexture input, output;
    input.create(window_size.x, window_size.y);
    output.create(window_size.x, window_size.y);
    input.clear();
    scene.Draw(input);
    input.display();
    bloom.Apply(input, output);
    output.display();
    input.getTexture().copyToImage().saveToFile(before);
    output.getTexture().copyToImage().saveToFile(after);
}

}  // namespace

int main(int argc, char** argv) {
    const int frames = argc > 1 && argv[1][0] != '-' ? std::max(1, std::atoi(argv[1])) : 200;
    sf::RenderWindow window(sf::VideoMode(window_size.x, window_size.y, 32), "Kirrow - bloom bench",
                            sf::Style::Default, sf::ContextSettings());
    window.setVerticalSyncEnabled(false);
    if (!effect::PostEffect::IsSupported()) {
        std::puts("shaders are not available");
        return 1;
    }
    effect::bloom::BloomEffect bloom;
    const Scene scene(true);

    for (int i = 1; i + 2 < argc; ++i)
        if (std::string(argv[i]) == "--shot") {
            SaveShots(bloom, Scene(false), argv[i + 1], argv[i + 2]);
            SaveShots(bloom, scene, (std::string(argv[i + 1]) + ".busy.png").c_str(),
                      (std::string(argv[i + 2]) + ".busy.png").c_str());
        }

    sf::RenderTexture scene_texture;
    scene_texture.create(window_size.x, window_size.y);

    const std::vector<Figures_t> figures = TimeFrames(window, frames, {
        [&] {
            window.clear();
            scene.Draw(window);
        },
        [&] {
            scene_texture.clear();
            scene.Draw(scene_texture);
            scene_texture.display();
            bloom.Apply(scene_texture, window);
        },
    });
    // Where a bloom frame goes: each step waits for the renderer before the next starts.
    using FinishFunction = void (*)();
    const auto finish = reinterpret_cast<FinishFunction>(sf::Context::getFunction("glFinish"));
    std::vector<double> scene_ms, apply_ms, display_ms;
    for (int i = 0; i < frames && finish != nullptr; ++i) {
        auto start = std::chrono::steady_clock::now();
        const auto lap = [&](std::vector<double>& into) {
            finish();
            const auto now = std::chrono::steady_clock::now();
            into.push_back(std::chrono::duration<double, std::milli>(now - start).count());
            start = now;
        };
        scene_texture.clear();
        scene.Draw(scene_texture);
        scene_texture.display();
        lap(scene_ms);
        bloom.Apply(scene_texture, window);
        lap(apply_ms);
        window.display();
        lap(display_ms);
    }

    std::printf("%u x %u, ground + %zu shapes, %d frames each\n", window_size.x, window_size.y, scene.shapes.size(),
                frames);
    Print("direct", figures[0]);
    Print("bloom", figures[1]);
    if (finish != nullptr)
        std::printf("bloom frame, medians: scene into texture %.2f ms, bloom %.2f ms, display %.2f ms\n",
                    Median(scene_ms), Median(apply_ms), Median(display_ms));
    return 0;
}
