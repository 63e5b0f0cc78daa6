// Drawing 5,000 live smoke particles at the game's scale (640 x 480 view on 1280 x 960 pixels):
// the draw as the frame pays for it on the game thread (vertex rebuild and the one draw call),
// and, for context, the same with the software renderer's rasterising waited for. Also counts
// the vertex rebuilds: one per drawn frame after an update, none when drawn again unchanged.
//
//   bench_particles [--particles N] [--frames N]
#include "support.hpp"

#include "particle/node.hpp"

#include <SFML/Graphics/RenderTexture.hpp>
#include <SFML/Window/Context.hpp>

#include <random>

int main(int argc, char** argv) {
    const auto count = static_cast<std::size_t>(bench::Option(argc, argv, "--particles", 5000));
    const int frames = static_cast<int>(bench::Option(argc, argv, "--frames", 200));

    sf::RenderTexture target;
    target.create(1280, 960);
    target.setView(sf::View(sf::Vector2f(320.f, 240.f), sf::Vector2f(640.f, 480.f)));
    using FinishFunction = void (*)();
    const auto finish = reinterpret_cast<FinishFunction>(sf::Context::getFunction("glFinish"));
    if (finish == nullptr) {
        std::puts("no glFinish");
        return 1;
    }

    holder::ResourceHolder<sf::Texture, holder::TextureId> textures;
    textures.Load(holder::TextureId::Particle, holder::FileOf(holder::TextureId::Particle));
    particle::node::ParticleNode smoke(particle::Particle::Smoke, textures);
    std::mt19937 random(5);
    std::uniform_real_distribution<float> x(0.f, 640.f), y(0.f, 480.f);
    for (std::size_t i = 0; i < count; ++i) smoke.AddParticle({x(random), y(random)});

    command::CommandQueue commands;
    std::vector<double> draws, rasterised;
    std::uint32_t most_rebuilds = 0;
    for (int frame = -10; frame < frames; ++frame) {
        // A zero step keeps every particle alive but marks the vertices stale, as any update does.
        smoke.Update(sf::Time::Zero, commands);
        target.clear();
        finish();
        const std::uint32_t rebuilds_before = smoke.GetVertexRebuildCount();
        const double start = bench::NowMs();
        target.draw(smoke);
        const double drawn = bench::NowMs();
        finish();
        const double done = bench::NowMs();
        target.draw(smoke);  // unchanged since: must not rebuild
        target.display();
        most_rebuilds = std::max(most_rebuilds, smoke.GetVertexRebuildCount() - rebuilds_before);
        if (frame < 0) continue;
        draws.push_back(drawn - start);
        rasterised.push_back(done - start);
    }
    std::printf("%zu particles (%zu vertices): draw %.3f ms median (slowest %.3f), with rasterising %.3f ms\n",
                smoke.GetParticleCount(), smoke.GetVertices().getVertexCount(), bench::Median(draws),
                bench::Max(draws), bench::Median(rasterised));
    bench::Figure("particles: 5,000 drawn (rebuild + draw call)", bench::Median(draws), "ms", true, 2.0);
    bench::Info("particles: 5,000 drawn and rasterised (software renderer)", bench::Median(rasterised), "ms");
    bench::Figure("particles: vertex rebuilds per drawn frame", most_rebuilds, "", true, 1.0);
    return 0;
}
