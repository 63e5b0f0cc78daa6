#include "world/world.hpp"

#include "audio/sound_player.hpp"
#include "effect/post_effect.hpp"
#include "game/projectile.hpp"
#include "game/vector_math.hpp"
#include "particle/node.hpp"
#include "scene/sound_node.hpp"
#include "scene/sprite_node.hpp"

#include <asset/texture_layout.hpp>

#include <algorithm>
#include <array>
#include <cassert>
#include <cmath>
#include <limits>

namespace world {

using game::character::Character;
using game::entity::Entity;
using game::pickup::Pickup;
using game::projectile::Projectile;
using scene::Category;

namespace {

const float battlefield_margin = 100.f;
const float view_border = 40.f;

// The pairs of categories HandleCollision acts on; the collision pass leaves out all others
// (bullets crossing bullets are most of a crowded field's overlaps).
constexpr std::array<std::pair<std::uint32_t, std::uint32_t>, 4> handled_pairs = {{
    {Category::PLAYER_CHARACTER, Category::ENEMY_CHARACTER},
    {Category::PLAYER_CHARACTER, Category::PICKUP},
    {Category::PLAYER_CHARACTER, Category::ENEMY_PROJECTILE},
    {Category::ENEMY_CHARACTER, Category::ALLIED_PROJECTILE},
}};

bool IsHandledPair(std::uint32_t lhs, std::uint32_t rhs) {
    for (const auto& [first, second] : handled_pairs)
        if (((lhs & first) && (rhs & second)) || ((lhs & second) && (rhs & first))) return true;
    return false;
}

struct EnemySpawn_t {
    Character::Type type;
    float rel_x;
    float rel_y;
    bool mirrored;
};

// The mission's enemies, relative to the spawn position; listed bottom of the world first.
const std::array<EnemySpawn_t, 16> mission_spawns = {{
    {Character::Type::EnemyHeavy, 0.f, 500.f, true},
    {Character::Type::EnemyHeavy, 0.f, 700.f, false},
    {Character::Type::EnemyHeavy, +50.f, 900.f, false},
    {Character::Type::EnemyHeavy, -50.f, 900.f, true},
    {Character::Type::EnemyLight, -100.f, 1300.f, false},
    {Character::Type::EnemyLight, +100.f, 1300.f, true},
    {Character::Type::EnemyLight, -140.f, 1600.f, false},
    {Character::Type::EnemyLight, +140.f, 1600.f, true},
    {Character::Type::EnemyHeavy, -100.f, 1900.f, false},
    {Character::Type::EnemyHeavy, 0.f, 1910.f, false},
    {Character::Type::EnemyHeavy, +100.f, 1920.f, false},
    {Character::Type::EnemyLight, +100.f, 2200.f, true},
    {Character::Type::EnemyLight, +50.f, 2210.f, true},
    {Character::Type::EnemyLight, 0.f, 2220.f, true},
    {Character::Type::EnemyLight, -50.f, 2230.f, true},
    {Character::Type::EnemyLight, -100.f, 2240.f, true},
}};

// The pixels of a target that show its view: the whole window, or its letterboxed part.
sf::Vector2u ShownSize(const sf::RenderTarget& target) {
    const sf::IntRect shown = target.getViewport(target.getView());
    return {static_cast<unsigned>(std::max(shown.width, 1)), static_cast<unsigned>(std::max(shown.height, 1))};
}

}  // namespace

World::World(sf::RenderTarget& output_target, const holder::FontHolder& font_holder,
             SoundPlayer& sound_player, bool networked)
    : target(output_target),
      world_view(output_target.getView()),
      fonts(font_holder),
      sounds(sound_player),
      scene_graph(Category::NONE),
      world_bounds(0.f, 0.f, world_view.getSize().x, rules::WORLD_HEIGHT),
      spawn_position(world_view.getSize().x * 0.5f, rules::WORLD_HEIGHT - world_view.getSize().y * 0.5f),
      networked_world(networked),
      post_effects(effect::PostEffect::IsSupported()) {
    scene_texture.create(ShownSize(output_target).x, ShownSize(output_target).y);
    LoadTextures();
    BuildScene();
    world_view.setCenter(spawn_position);
}

void World::LoadTextures() {
    for (auto id : {holder::TextureId::Character, holder::TextureId::Enemy, holder::TextureId::Projectile,
                    holder::TextureId::Explosion, holder::TextureId::Jungle, holder::TextureId::Finish,
                    holder::TextureId::Particle})
        textures.Load(id, holder::FileOf(id));
}

void World::BuildScene() {
    for (std::size_t i = 0; i < LAYER_COUNT; ++i) {
        auto layer = std::make_unique<scene::SceneNode>(i == LOWER_AIR ? Category::SCENE_AIR_LAYER : Category::NONE);
        scene_layers[i] = layer.get();
        scene_graph.AttachChild(std::move(layer));
    }

    sf::Texture& jungle = textures.Get(holder::TextureId::Jungle);
    jungle.setRepeated(true);
    const sf::IntRect ground_rect(world_bounds);
    auto ground = std::make_unique<scene::SpriteNode>(jungle, ground_rect);
    ground->setPosition(world_bounds.left, world_bounds.top);
    scene_layers[BACKGROUND]->AttachChild(std::move(ground));

    auto finish = std::make_unique<scene::SpriteNode>(textures.Get(holder::TextureId::Finish));
    finish->setPosition(0.f, -static_cast<float>(asset::FINISH_HEIGHT));
    scene_layers[BACKGROUND]->AttachChild(std::move(finish));

    scene_layers[LOWER_AIR]->AttachChild(std::make_unique<particle::node::ParticleNode>(particle::Particle::Smoke, textures));
    scene_layers[LOWER_AIR]->AttachChild(
        std::make_unique<particle::node::ParticleNode>(particle::Particle::Propellant, textures));

    scene_graph.AttachChild(std::make_unique<scene::SoundNode>(sounds));
    if (networked_world) {
        auto node = std::make_unique<scene::NetworkNode>();
        network_node = node.get();
        scene_graph.AttachChild(std::move(node));
    }
    AddEnemies();
}

void World::Update(sf::Time dt) {
    const float seconds = dt.asSeconds();
    world_view.move(0.f, scroll_speed * scroll_speed_compensation * seconds);
    for (Character* character : player_characters) character->SetVelocity({0.f, 0.f});

    DestroyEntitiesOutsideView();
    GuideMissiles();
    while (!command_queue.empty()) {
        // Moved out first: an action may push new commands, which land behind it.
        const command::Command command = std::move(command_queue.front());
        command_queue.pop();
        scene_graph.OnCommand(command, dt);
    }
    AdaptPlayerVelocity();
    HandleCollisions();

    std::erase_if(player_characters, [](const Character* character) { return character->IsMarkedForRemoval(); });
    scene_graph.RemoveWrecks();
    SpawnEnemies();
    scene_graph.Update(dt, command_queue);
    AdaptPlayerPosition();
    UpdateSounds();
}

void World::UsePostEffects(bool use) { post_effects = use && effect::PostEffect::IsSupported(); }

void World::Draw() {
    if (post_effects) {
        // The field is drawn at the size the window shows it, so the bloom follows a resize.
        const sf::Vector2u size = ShownSize(target);
        if (scene_texture.getSize() != size) scene_texture.create(size.x, size.y);
        world_view.setViewport(sf::FloatRect(0.f, 0.f, 1.f, 1.f));
        scene_texture.clear(sf::Color(0, 0, 0, 255));
        scene_texture.setView(world_view);
        scene_texture.draw(scene_graph);
        scene_texture.display();
        bloom_effect.Apply(scene_texture, target);
    } else {
        // Overlays drawn after the field lay out in the screen's own view, so give it back.
        const sf::View screen_view = target.getView();
        world_view.setViewport(screen_view.getViewport());
        target.setView(world_view);
        target.draw(scene_graph);
        target.setView(screen_view);
    }
}

command::CommandQueue& World::GetCommandQueue() { return command_queue; }

bool World::HasAlivePlayer() const { return !player_characters.empty(); }

bool World::HasPlayerReachedEnd() const {
    const Character* first = GetCharacter(1);
    return first && !world_bounds.contains(first->getPosition());
}

Character* World::AddCharacter(int identifier, Character::Type type) {
    auto character = std::make_unique<Character>(type, textures, fonts);
    character->setPosition(world_view.getCenter());
    character->SetIdentifier(identifier);
    player_characters.push_back(character.get());
    scene_layers[UPPER_AIR]->AttachChild(std::move(character));
    return player_characters.back();
}

void World::RemoveCharacter(int identifier) {
    const auto found = std::find_if(player_characters.begin(), player_characters.end(),
                                    [&](const Character* c) { return c->GetIdentifier() == identifier; });
    if (found == player_characters.end()) return;
    // The base Destroy: the aircraft still explodes on its way out.
    (*found)->Entity::Destroy();
    player_characters.erase(found);
}

Character* World::GetCharacter(int identifier) const {
    for (Character* character : player_characters)
        if (character->GetIdentifier() == identifier) return character;
    return nullptr;
}

void World::SetWorldHeight(float height) { world_bounds.height = height; }

void World::SetCurrentBattleFieldPosition(float y) {
    world_view.setCenter(world_view.getCenter().x, y - world_view.getSize().y / 2.f);
    spawn_position.y = world_bounds.height;
}

void World::SetWorldScrollCompensation(float compensation) { scroll_speed_compensation = compensation; }

sf::FloatRect World::GetViewBounds() const {
    return {world_view.getCenter() - world_view.getSize() / 2.f, world_view.getSize()};
}

void World::CreatePickup(Pickup::Type type, sf::Vector2f position) {
    auto pickup = std::make_unique<Pickup>(type, textures);
    pickup->setPosition(position);
    pickup->SetVelocity({0.f, 1.f});
    scene_layers[UPPER_AIR]->AttachChild(std::move(pickup));
}

bool World::PollGameAction(network::action::NetAction& out) {
    assert(network_node);
    return network_node->PollGameAction(out);
}

void World::AdaptPlayerVelocity() {
    for (Character* character : player_characters) {
        const sf::Vector2f velocity = character->GetVelocity();
        if (velocity.x != 0.f && velocity.y != 0.f) character->SetVelocity(velocity / std::sqrt(2.f));
        character->Accelerate({0.f, scroll_speed});
    }
}

void World::AdaptPlayerPosition() {
    const sf::FloatRect view = GetViewBounds();
    for (Character* character : player_characters) {
        sf::Vector2f position = character->getPosition();
        position.x = std::min(std::max(position.x, view.left + view_border), view.left + view.width - view_border);
        position.y = std::min(std::max(position.y, view.top + view_border), view.top + view.height - view_border);
        character->setPosition(position);
    }
}

void World::UpdateSounds() {
    sf::Vector2f listener = world_view.getCenter();
    if (!player_characters.empty()) {
        listener = {};
        for (const Character* character : player_characters) listener += character->GetWorldPosition();
        listener /= static_cast<float>(player_characters.size());
    }
    sounds.SetListenerPosition(listener);
    sounds.RemoveStoppedSounds();
}

void World::AddEnemy(Character::Type type, float rel_x, float rel_y, bool mirrored) {
    enemy_spawn_points.push_back({type, spawn_position.x + rel_x, spawn_position.y - rel_y, mirrored});
}

void World::AddEnemies() {
    if (networked_world) return;
    for (const EnemySpawn_t& spawn : mission_spawns) AddEnemy(spawn.type, spawn.rel_x, spawn.rel_y, spawn.mirrored);
    SortEnemies();
}

void World::SortEnemies() {
    std::sort(enemy_spawn_points.begin(), enemy_spawn_points.end(),
              [](const SpawnPoint& lhs, const SpawnPoint& rhs) { return lhs.y < rhs.y; });
}

sf::FloatRect World::GetBattlefieldBounds() const {
    sf::FloatRect bounds = GetViewBounds();
    bounds.top -= battlefield_margin;
    bounds.height += battlefield_margin;
    return bounds;
}

void World::SpawnEnemies() {
    while (!enemy_spawn_points.empty() && enemy_spawn_points.back().y > GetBattlefieldBounds().top) {
        const SpawnPoint spawn = enemy_spawn_points.back();
        auto enemy = std::make_unique<Character>(spawn.type, textures, fonts);
        if (spawn.mirrored) enemy->MirrorMovement();
        enemy->setPosition(spawn.x, spawn.y);
        if (networked_world) enemy->DisablePickups();
        scene_layers[UPPER_AIR]->AttachChild(std::move(enemy));
        enemy_spawn_points.pop_back();
    }
}

void World::DestroyEntitiesOutsideView() {
    command::Command command;
    command.category = Category::ENEMY_CHARACTER | Category::ALLIED_PROJECTILE | Category::ENEMY_PROJECTILE;
    command.action = command::DerivedAction<Entity>([this](Entity& entity, sf::Time) {
        if (!GetBattlefieldBounds().intersects(entity.GetBoundingRect())) entity.Destroy();
    });
    command_queue.push(std::move(command));
}

void World::GuideMissiles() {
    command::Command collector;
    collector.category = Category::ENEMY_CHARACTER;
    collector.action = command::DerivedAction<Character>([this](Character& enemy, sf::Time) {
        if (enemy.IsDestroyed()) return;
        active_enemy_positions.push_back(enemy.GetWorldPosition());
    });

    command::Command guider;
    guider.category = Category::ALLIED_PROJECTILE;
    guider.action = command::DerivedAction<Projectile>([this](Projectile& missile, sf::Time) {
        if (!missile.IsGuided()) return;
        const sf::Vector2f position = missile.GetWorldPosition();
        float min_distance = std::numeric_limits<float>::max();
        const sf::Vector2f* closest = nullptr;
        for (const sf::Vector2f& enemy : active_enemy_positions) {
            const float distance = game::vector_math::Distance(position, enemy);
            if (distance < min_distance) {
                closest = &enemy;
                min_distance = distance;
            }
        }
        if (closest) missile.GuideTowards(*closest);
    });

    command_queue.push(std::move(collector));
    command_queue.push(std::move(guider));
    active_enemy_positions.clear();
}

void World::HandleCollisions() {
    std::set<scene::SceneNode::Pair> collision_pairs;
    scene_graph.CheckSceneCollision(scene_graph, collision_pairs, IsHandledPair);
    for (const scene::SceneNode::Pair& pair : collision_pairs) HandleCollision(pair);
}

void World::HandleCollision(scene::SceneNode::Pair pair) {
    if (scene::MatchesCategories(pair, Category::PLAYER_CHARACTER, Category::ENEMY_CHARACTER)) {
        auto& player = static_cast<Character&>(*pair.first);
        auto& enemy = static_cast<Character&>(*pair.second);
        // An enemy already emptied earlier in this pass has nothing left to ram with.
        if (enemy.GetHitpoints() > 0) player.Damage(enemy.GetHitpoints());
        enemy.Entity::Destroy();
    } else if (scene::MatchesCategories(pair, Category::PLAYER_CHARACTER, Category::PICKUP)) {
        auto& player = static_cast<Character&>(*pair.first);
        auto& pickup = static_cast<Pickup&>(*pair.second);
        pickup.Apply(player);
        pickup.Entity::Destroy();
        player.PlayLocalSound(command_queue, holder::SoundId::CollectPickup);
    } else if (scene::MatchesCategories(pair, Category::PLAYER_CHARACTER, Category::ENEMY_PROJECTILE) ||
               scene::MatchesCategories(pair, Category::ENEMY_CHARACTER, Category::ALLIED_PROJECTILE)) {
        auto& aircraft = static_cast<Character&>(*pair.first);
        auto& projectile = static_cast<Projectile&>(*pair.second);
        aircraft.Damage(projectile.GetDamage());
        projectile.Entity::Destroy();
    }
}

}  // namespace world
