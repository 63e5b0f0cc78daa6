#pragma once

#include "command/command.hpp"
#include "effect/bloom.hpp"
#include "game/character.hpp"
#include "game/pickup.hpp"
#include "network/action.hpp"
#include "scene/network_node.hpp"
#include "scene/scene_node.hpp"
#include "util/memory.hpp"

#include <holder/holders.hpp>
#include <holder/resource_id.hpp>
#include <rules/mission_rules.hpp>

#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/RenderTexture.hpp>
#include <SFML/Graphics/Texture.hpp>
#include <SFML/Graphics/View.hpp>

#include <array>
#include <vector>

class SoundPlayer;

namespace world {

// The playing field of one mission: scene graph, scrolling view, rules and drawing.
class World {
public:
    struct SpawnPoint {
        game::character::Character::Type type;
        float x;
        float y;
        bool mirrored;
    };

    World(sf::RenderTarget& output_target, const holder::FontHolder& fonts,
          SoundPlayer& sounds, bool networked);
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    void Update(sf::Time dt);
    void Draw();
    // The bloom where shaders allow it (the default), or the field drawn straight to the target.
    void UsePostEffects(bool use);

    command::CommandQueue& GetCommandQueue();
    bool HasAlivePlayer() const;
    bool HasPlayerReachedEnd() const;

    game::character::Character* AddCharacter(int identifier, game::character::Character::Type type);
    void RemoveCharacter(int identifier);
    game::character::Character* GetCharacter(int identifier) const;
    void SetWorldHeight(float height);
    void SetCurrentBattleFieldPosition(float y);
    void SetWorldScrollCompensation(float compensation);
    sf::FloatRect GetViewBounds() const;
    void CreatePickup(game::pickup::Pickup::Type type, sf::Vector2f position);
    bool PollGameAction(network::action::NetAction& out);

    void AddEnemy(game::character::Character::Type type, float rel_x, float rel_y, bool mirrored);
    void SortEnemies();
    sf::FloatRect GetBattlefieldBounds() const;

    // Read access for tests, benchmarks and the network screen.
    const std::vector<SpawnPoint>& GetSpawnPoints() const { return enemy_spawn_points; }
    const std::vector<game::character::Character*>& GetPlayerCharacters() const { return player_characters; }
    const scene::SceneNode& GetSceneGraph() const { return scene_graph; }

    enum Layer { BACKGROUND, LOWER_AIR, UPPER_AIR, LAYER_COUNT };

private:
    void LoadTextures();
    void BuildScene();
    void AddEnemies();
    void AdaptPlayerVelocity();
    void AdaptPlayerPosition();
    void UpdateSounds();
    void SpawnEnemies();
    void DestroyEntitiesOutsideView();
    void GuideMissiles();
    void HandleCollisions();
    void HandleCollision(scene::SceneNode::Pair pair);

    // First, so destroyed last: the world's memory goes back to the system when it ends.
    FreeMemoryReleaser memory_releaser;
    command::CommandQueue command_queue;
    sf::RenderTarget& target;
    sf::RenderTexture scene_texture;
    effect::bloom::BloomEffect bloom_effect;
    sf::View world_view;
    holder::TextureHolder textures;
    const holder::FontHolder& fonts;
    SoundPlayer& sounds;
    scene::SceneNode scene_graph;
    std::array<scene::SceneNode*, LAYER_COUNT> scene_layers{};
    sf::FloatRect world_bounds;
    sf::Vector2f spawn_position;
    float scroll_speed = rules::SCROLL_SPEED;
    float scroll_speed_compensation = 1.f;
    std::vector<game::character::Character*> player_characters;
    std::vector<SpawnPoint> enemy_spawn_points;
    // The live enemies' world positions, taken as they are collected: the guider compares every
    // missile with every enemy, and the enemies don't move between the two commands.
    std::vector<sf::Vector2f> active_enemy_positions;
    scene::NetworkNode* network_node = nullptr;
    bool networked_world;
    bool post_effects;
};

}  // namespace world
