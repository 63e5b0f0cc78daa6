// Cost of each bloom pass alone, at the size it runs at for a 1280 x 960 input, to see where the
// frame time goes on a software renderer. Each figure is the best of several rounds and waits for
// the renderer (glFinish), so other load on the machine inflates it less than a frame median.
//
//   bench_bloom_passes [repeats per round]
#include <holder/resource_id.hpp>

#include <SFML/Graphics.hpp>
#include <SFML/Window/Context.hpp>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <time.h>

namespace {

using FinishFunction = void (*)();

void Load(sf::Shader& shader, holder::ShaderId id) {
    if (!shader.loadFromFile(holder::vertex_shader_file, holder::FileOf(id))) {
        std::printf("cannot load %s\n", holder::FileOf(id).c_str());
        std::exit(1);
    }
}

void Make(sf::RenderTexture& texture, unsigned width, unsigned height) {
    texture.create(width, height);
    texture.setSmooth(true);
    texture.clear(sf::Color(40, 90, 35));
    texture.display();
}

void Quad(const sf::Shader& shader, sf::RenderTexture& output) {
    const sf::Vector2f size = output.getView().getSize();
    sf::VertexArray quad(sf::TriangleStrip, 4);
    quad[0] = sf::Vertex({0.f, 0.f}, {0.f, 1.f});
    quad[1] = sf::Vertex({size.x, 0.f}, {1.f, 1.f});
    quad[2] = sf::Vertex({0.f, size.y}, {0.f, 0.f});
    quad[3] = sf::Vertex({size.x, size.y}, {1.f, 0.f});
    output.draw(quad, sf::RenderStates(sf::BlendNone, sf::Transform(), nullptr, &shader));
    output.display();
}

double ProcessCpuMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// Wall and processor time (all renderer threads) per pass, each the best of five rounds.
struct Figures_t {
    double wall_ms = 1e9;
    double cpu_ms = 1e9;
};

Figures_t Best(int repeats, FinishFunction finish, const std::function<void()>& pass) {
    pass();
    finish();
    Figures_t best;
    for (int round = 0; round < 5; ++round) {
        const auto start = std::chrono::steady_clock::now();
        const double cpu_start = ProcessCpuMilliseconds();
        for (int i = 0; i < repeats; ++i)
            pass();
        finish();
        const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
        best.wall_ms = std::min(best.wall_ms, elapsed.count() / repeats);
        best.cpu_ms = std::min(best.cpu_ms, (ProcessCpuMilliseconds() - cpu_start) / repeats);
    }
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    const int repeats = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    sf::Context context;
    const auto finish = reinterpret_cast<FinishFunction>(sf::Context::getFunction("glFinish"));
    if (!sf::Shader::isAvailable() || finish == nullptr) {
        std::puts("shaders are not available");
        return 1;
    }
    sf::Shader brightness, down_sample, blur, add;
    Load(brightness, holder::ShaderId::BrightnessPass);
    Load(down_sample, holder::ShaderId::DownSamplePass);
    Load(blur, holder::ShaderId::GaussianBlurPass);
    Load(add, holder::ShaderId::AddPass);

    sf::RenderTexture full[2], half[2], quarter[2];
    for (auto& texture : full)
        Make(texture, 1280, 960);
    for (auto& texture : half)
        Make(texture, 640, 480);
    for (auto& texture : quarter)
        Make(texture, 320, 240);

    Figures_t total{0.0, 0.0};
    const auto time_pass = [&](const char* name, sf::Shader& shader, sf::RenderTexture& output, int count) {
        const Figures_t figures = Best(repeats, finish, [&] { Quad(shader, output); });
        std::printf("  %-28s x %d   wall %6.2f ms   cpu %6.2f ms\n", name, count, figures.wall_ms, figures.cpu_ms);
        total.wall_ms += figures.wall_ms * count;
        total.cpu_ms += figures.cpu_ms * count;
    };

    std::puts("bloom passes for a 1280 x 960 input, per pass:");
    brightness.setUniform("source", full[0].getTexture());
    time_pass("brightness 1280x960", brightness, full[1], 1);
    down_sample.setUniform("source", full[0].getTexture());
    down_sample.setUniform("sourceSize", sf::Vector2f(1280.f, 960.f));
    time_pass("down-sample to 640x480", down_sample, half[1], 1);
    blur.setUniform("source", half[0].getTexture());
    blur.setUniform("offsetFactor", sf::Vector2f(0.f, 1.f / 480.f));
    time_pass("blur 640x480 vertical", blur, half[1], 2);
    blur.setUniform("offsetFactor", sf::Vector2f(1.f / 640.f, 0.f));
    time_pass("blur 640x480 horizontal", blur, half[1], 2);
    down_sample.setUniform("source", half[0].getTexture());
    down_sample.setUniform("sourceSize", sf::Vector2f(640.f, 480.f));
    time_pass("down-sample to 320x240", down_sample, quarter[1], 1);
    blur.setUniform("source", quarter[0].getTexture());
    blur.setUniform("offsetFactor", sf::Vector2f(0.f, 1.f / 240.f));
    time_pass("blur 320x240 vertical", blur, quarter[1], 2);
    blur.setUniform("offsetFactor", sf::Vector2f(1.f / 320.f, 0.f));
    time_pass("blur 320x240 horizontal", blur, quarter[1], 2);
    add.setUniform("source", half[0].getTexture());
    add.setUniform("bloom", quarter[0].getTexture());
    time_pass("add 320x240 onto 640x480", add, half[1], 1);
    add.setUniform("source", full[0].getTexture());
    add.setUniform("bloom", half[0].getTexture());
    time_pass("add 640x480 onto 1280x960", add, full[1], 1);
    std::printf("  %-32s   wall %6.2f ms   cpu %6.2f ms\n", "sum of all passes", total.wall_ms, total.cpu_ms);
    return 0;
}
