// World update step with a crowded field: 200, 500 and 2,000 live projectiles (bullets of both
// sides and a few missiles) spread over the view, and at 2,000 also 50 enemy aircraft, topped up
// before every step so the crowd stays the same size. Steps are paced like the game's.
// Side by side in the same scenes: the collision pass's sweep against testing every pair.
//
//   bench_crowd [--steps N] [--only PROJECTILES] [--no-compare]
#include "scripted_flight.hpp"
#include "support.hpp"

#include "game/projectile.hpp"

#include <SFML/Graphics/RenderTexture.hpp>
#include <SFML/System/Sleep.hpp>

#include <random>
#include <set>

namespace {

using game::projectile::Projectile;
using Textures = holder::ResourceHolder<sf::Texture, holder::TextureId>;
using Pairs = std::set<scene::SceneNode::Pair>;

// The walk the collision pass used before its sweep: every node of the tree against every other.
void EveryPair(scene::SceneNode& subtree, scene::SceneNode& tree, Pairs& pairs) {
    subtree.CheckNodeCollision(tree, pairs);
    for (const scene::SceneNode::Ptr& child : tree.GetChildren()) EveryPair(subtree, *child, pairs);
}

class Crowd {
public:
    Crowd(std::size_t projectiles, std::size_t aircraft) : projectiles_wanted(projectiles), aircraft_wanted(aircraft) {
        fonts.Load(holder::FontId::Main, holder::FileOf(holder::FontId::Main));
        for (auto id : {holder::TextureId::Character, holder::TextureId::Enemy, holder::TextureId::Projectile,
                        holder::TextureId::Explosion})
            textures.Load(id, holder::FileOf(id));
        target.create(1280, 960);
        target.setView(sf::View(sf::Vector2f(320.f, 240.f), sf::Vector2f(640.f, 480.f)));
        world = std::make_unique<world::World>(target, fonts, sounds, false);
        // A player that cannot die, so that enemy bullets have something to hit all along.
        world->AddCharacter(1, bench::Character::AlliedHeavy)->SetHitpoints(1000000000);
    }

    // Brings the live projectiles and enemy aircraft back to their numbers. Newcomers join the
    // air layer as the game's shots do, through a command addressed to it.
    void TopUp() {
        const sf::FloatRect view = world->GetViewBounds();
        std::uniform_real_distribution<float> x(view.left, view.left + view.width), y(view.top, view.top + view.height);
        std::size_t projectiles = 0, aircraft = 0;
        for (const auto& layer : world->GetSceneGraph().GetChildren())
            for (const auto& node : layer->GetChildren()) {
                if (node->IsDestroyed()) continue;
                if (node->GetCategory() & (scene::Category::ALLIED_PROJECTILE | scene::Category::ENEMY_PROJECTILE))
                    ++projectiles;
                if (node->GetCategory() & scene::Category::ENEMY_CHARACTER) ++aircraft;
            }

        auto arrivals = std::make_shared<std::vector<scene::SceneNode::Ptr>>();
        for (; projectiles < projectiles_wanted; ++projectiles) {
            const int kind = std::uniform_int_distribution<int>(0, 19)(random);
            const auto type = kind == 0 ? Projectile::Missile : kind % 2 ? Projectile::AlliedBullet : Projectile::EnemyBullet;
            auto shot = std::make_unique<Projectile>(type, textures);
            shot->setPosition(x(random), y(random));
            shot->SetVelocity({0.f, (type == Projectile::EnemyBullet ? 1.f : -1.f) * shot->GetMaxSpeed()});
            arrivals->push_back(std::move(shot));
        }
        for (; aircraft < aircraft_wanted; ++aircraft) {
            const auto type = aircraft % 2 ? bench::Character::EnemyLight : bench::Character::EnemyHeavy;
            auto enemy = std::make_unique<bench::Character>(type, textures, fonts);
            enemy->setPosition(x(random), view.top + (y(random) - view.top) * 0.6f);
            arrivals->push_back(std::move(enemy));
        }
        command::Command attach;
        attach.category = scene::Category::SCENE_AIR_LAYER;
        attach.action = [arrivals](scene::SceneNode& layer, sf::Time) {
            for (scene::SceneNode::Ptr& node : *arrivals) layer.AttachChild(std::move(node));
        };
        Root().OnCommand(attach, sf::Time::Zero);
    }

    world::World& World() { return *world; }
    scene::SceneNode& Root() { return const_cast<scene::SceneNode&>(world->GetSceneGraph()); }

private:
    bench::Fonts fonts;
    Textures textures;
    SoundPlayer sounds;
    sf::RenderTexture target;
    std::unique_ptr<world::World> world;
    std::size_t projectiles_wanted;
    std::size_t aircraft_wanted;
    std::mt19937 random{2026};
};

void Run(std::size_t projectiles, std::size_t aircraft, int steps, bool compare) {
    Crowd crowd(projectiles, aircraft);
    std::vector<double> times;
    double next = bench::NowMs();
    for (int step = -30; step < steps; ++step) {
        crowd.TopUp();
        const double before = bench::NowMs();
        crowd.World().Update(bench::step_time);
        if (step >= 0) times.push_back(bench::NowMs() - before);
        next += static_cast<double>(bench::step_time.asMicroseconds()) / 1000.0;
        const double wait = next - bench::NowMs();
        if (wait > 0) sf::sleep(sf::microseconds(static_cast<sf::Int64>(wait * 1000.0)));
    }

    // The collision pass alone on the same scene: the sweep and the every-pair walk.
    crowd.TopUp();
    scene::SceneNode& root = crowd.Root();
    std::vector<double> swept_times, walked_times;
    Pairs swept, walked;
    for (int i = 0; i < 30; ++i) {
        swept.clear();
        const double before = bench::NowMs();
        root.CheckSceneCollision(root, swept);
        swept_times.push_back(bench::NowMs() - before);
    }
    for (int i = 0; compare && i < (projectiles > 1000 ? 3 : 10); ++i) {
        walked.clear();
        const double before = bench::NowMs();
        EveryPair(root, root, walked);
        walked_times.push_back(bench::NowMs() - before);
    }
    const std::size_t nodes = bench::NodeCount(root);

    std::printf("%4zu projectiles + %2zu enemies: update median %.3f ms, slowest %.3f ms (%zu steps)\n", projectiles,
                aircraft, bench::Median(times), bench::Max(times), times.size());
    std::printf("      collision pass on %zu nodes, %zu pairs%s: sweep %.3f ms, every pair %.3f ms (%.0fx)\n",
                nodes, swept.size(), swept == walked ? " (same pairs)" : " (PAIRS DIFFER)", bench::Median(swept_times),
                bench::Median(walked_times), bench::Median(walked_times) / bench::Median(swept_times));
    const std::string name = "world update, " + std::to_string(projectiles) + " projectiles" +
                             (aircraft ? " + " + std::to_string(aircraft) + " aircraft" : std::string());
    if (projectiles >= 2000)
        bench::Figure(name.c_str(), bench::Median(times), "ms", true, 2.0);
    else
        bench::Info(name.c_str(), bench::Median(times), "ms");
    if (compare && swept != walked) std::printf("FIGURE|collision sweep gives the every-pair result|same pairs|different|FAIL\n");
}

}  // namespace

int main(int argc, char** argv) {
    const int steps = static_cast<int>(bench::Option(argc, argv, "--steps", 150));
    const auto only = static_cast<std::size_t>(bench::Option(argc, argv, "--only", 0));
    for (const auto& [projectiles, aircraft] : {std::pair<std::size_t, std::size_t>{200, 0}, {500, 0}, {2000, 50}})
        if (only == 0 || only == projectiles) Run(projectiles, aircraft, steps, !bench::Flag(argc, argv, "--no-compare"));
    return 0;
}
