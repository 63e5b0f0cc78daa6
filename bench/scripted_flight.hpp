// The single-player mission flown by a script instead of a keyboard: a world with the game's
// enemy list and one player aircraft that weaves across the field, holds its fire all the time
// and launches a missile every two seconds (topping up its own missiles so that there is always
// smoke in the air, and its hitpoints so that it lives to the top of the world). Commands are the ones the player's keys would queue, in the game state's
// order: world update first, then the input for the next update.
#pragma once

#include "audio/sound_player.hpp"
#include "game/character.hpp"
#include "particle/node.hpp"
#include "player/player.hpp"
#include "util/random.hpp"
#include "world/world.hpp"

#include <holder/resource_holder.hpp>
#include <holder/resource_id.hpp>

#include <SFML/Graphics/RenderTarget.hpp>

#include <array>
#include <cstdint>
#include <cstring>
#include <memory>

namespace bench {

using Fonts = holder::ResourceHolder<sf::Font, holder::FontId>;
using game::character::Character;

inline const sf::Time step_time = sf::microseconds(16666);
// The mission lasts about 45 s: the view needs 2,500 units at 50 units per second.
inline constexpr int flight_steps = 3000;

// Queues one step of scripted input for the aircraft with identifier 1.
class Pilot {
public:
    void Steer(std::uint64_t step, command::CommandQueue& commands) const {
        // Legs of 40 steps (2/3 s): sideways sweeps with a little climbing and sinking.
        static constexpr std::array<std::array<int, 2>, 12> legs = {{
            {-1, 0}, {-1, -1}, {-1, 0}, {0, 0}, {1, 0}, {1, 1}, {1, 0}, {1, 0}, {0, 0}, {-1, 0}, {-1, 1}, {0, -1}}};
        const auto& leg = legs[(step / 40) % legs.size()];
        if (leg[0] != 0) commands.push(Mover(static_cast<float>(leg[0]), 0.f));
        if (leg[1] != 0) commands.push(Mover(0.f, static_cast<float>(leg[1])));

        commands.push(ForPlayer([](Character& aircraft) { aircraft.Fire(); }));
        // The script flies blind: patching the aircraft up keeps it flying to the end of the mission.
        if (step % 60 == 30)
            commands.push(ForPlayer([](Character& aircraft) {
                if (aircraft.GetHitpoints() < 50) aircraft.Repair(50);
            }));
        if (step % 120 == 60)
            commands.push(ForPlayer([](Character& aircraft) {
                if (aircraft.GetMissileAmmo() == 0) aircraft.CollectMissiles(2);
                aircraft.LaunchMissile();
            }));
    }

private:
    static command::Command Mover(float x, float y) {
        command::Command command;
        command.action = player::CharacterMover{{x, y}, identifier};
        command.category = scene::Category::PLAYER_CHARACTER;
        return command;
    }

    template <typename Function>
    static command::Command ForPlayer(Function function) {
        command::Command command;
        command.action = command::DerivedAction<Character>([function](Character& aircraft, sf::Time) {
            if (aircraft.GetIdentifier() == identifier) function(aircraft);
        });
        command.category = scene::Category::PLAYER_CHARACTER;
        return command;
    }

    static constexpr int identifier = 1;
};

// What the mission screen owns, minus the screen: fonts, sounds, the world and its pilot.
class Flight {
public:
    enum Outcome { FLYING, SUCCESS, FAILURE };

    explicit Flight(sf::RenderTarget& output) : target(output) {
        fonts.Load(holder::FontId::Main, holder::FileOf(holder::FontId::Main));
        Restart();
    }

    // A new mission in a new world, as the game makes one for every mission it starts.
    void Restart() {
        world.reset();
        world = std::make_unique<world::World>(target, fonts, sounds, false);
        world->AddCharacter(1, static_cast<Character::Type>(RandomInt(0, 2)));
        steps = 0;
    }

    // One fixed step as the game state runs it; `timed` receives the world update's duration.
    template <typename Clock>
    Outcome Step(Clock&& timed) {
        timed([&] { world->Update(step_time); });
        Outcome outcome = FLYING;
        if (!world->HasAlivePlayer())
            outcome = FAILURE;
        else if (world->HasPlayerReachedEnd())
            outcome = SUCCESS;
        pilot.Steer(steps++, world->GetCommandQueue());
        return outcome;
    }

    Outcome Step() {
        return Step([](auto&& update) { update(); });
    }

    world::World& World() { return *world; }
    std::uint64_t Steps() const { return steps; }

private:
    sf::RenderTarget& target;
    Fonts fonts;
    SoundPlayer sounds;
    std::unique_ptr<world::World> world;
    Pilot pilot;
    std::uint64_t steps = 0;
};

// How much there is to update and draw: the nodes of the tree (each is updated and most are
// drawn on their own; particles are drawn together and counted apart).
inline std::size_t NodeCount(const scene::SceneNode& node) {
    std::size_t count = 1;
    for (const scene::SceneNode::Ptr& child : node.GetChildren()) count += NodeCount(*child);
    return count;
}

inline std::size_t ParticleCount(const scene::SceneNode& node) {
    std::size_t count = 0;
    if (const auto* particles = dynamic_cast<const particle::node::ParticleNode*>(&node))
        count += particles->GetParticleCount();
    for (const scene::SceneNode::Ptr& child : node.GetChildren()) count += ParticleCount(*child);
    return count;
}

// A fingerprint of the world's state (FNV-1a over the tree: kinds, places, turns, hitpoints,
// speeds, missiles, particles), to show that a change left the game's behaviour alone.
class StateHash {
public:
    void Add(const void* data, std::size_t size) {
        const auto* bytes = static_cast<const unsigned char*>(data);
        for (std::size_t i = 0; i < size; ++i) value = (value ^ bytes[i]) * 1099511628211ull;
    }
    template <typename Value>
    void Add(const Value& item) {
        Add(&item, sizeof item);
    }

    void AddTree(const scene::SceneNode& node) {
        Add(node.GetCategory());
        Add(node.getPosition().x);
        Add(node.getPosition().y);
        Add(node.getRotation());
        Add(node.IsDestroyed());
        if (const auto* entity = dynamic_cast<const game::entity::Entity*>(&node)) {
            Add(entity->GetHitpoints());
            Add(entity->GetVelocity().x);
            Add(entity->GetVelocity().y);
        }
        if (const auto* aircraft = dynamic_cast<const Character*>(&node)) {
            Add(aircraft->GetType());
            Add(aircraft->GetMissileAmmo());
            Add(aircraft->GetFireRateLevel());
            Add(aircraft->GetSpreadLevel());
        }
        if (const auto* particles = dynamic_cast<const particle::node::ParticleNode*>(&node))
            Add(particles->GetParticleCount());
        Add(node.GetChildren().size());
        for (const scene::SceneNode::Ptr& child : node.GetChildren()) AddTree(*child);
    }

    void AddWorld(const world::World& world) {
        AddTree(world.GetSceneGraph());
        const sf::FloatRect view = world.GetViewBounds();
        Add(view.top);
        Add(world.GetSpawnPoints().size());
        Add(world.GetPlayerCharacters().size());
    }

    std::uint64_t Value() const { return value; }

private:
    std::uint64_t value = 14695981039346656037ull;
};

}  // namespace bench
