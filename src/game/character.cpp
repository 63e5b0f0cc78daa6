#include "game/character.hpp"

#include "game/data_table.hpp"
#include "game/pickup.hpp"
#include "network/action.hpp"
#include "scene/network_node.hpp"
#include "scene/sound_node.hpp"
#include "scene/text_node.hpp"
#include "util/random.hpp"
#include "util/text_util.hpp"

#include <asset/int_rect.hpp>

#include <SFML/Graphics/RenderTarget.hpp>

#include <fmt/format.h>

#include <cassert>
#include <cmath>
#include <memory>
#include <numbers>

namespace game::character {
namespace {

constexpr int max_fire_rate_level = 10;
constexpr int max_spread_level = 3;
const sf::Vector2u explosion_frame_size(asset::EXPLOSION_FRAME, asset::EXPLOSION_FRAME);
const sf::Time explosion_duration = sf::seconds(1.f);

const CharacterData_t& DataOf(Character::Type type) { return data_table::CHARACTER_DATA.at(static_cast<std::size_t>(type)); }

bool IsAlliedType(Character::Type type) { return type == Character::AlliedHeavy || type == Character::AlliedLight; }

}  // namespace

Character::Character(Type aircraft_type, const holder::TextureHolder& textures, const holder::FontHolder& fonts)
    : Entity(DataOf(aircraft_type).hitpoints),
      explosion(textures.Get(holder::TextureId::Explosion)),
      sprite(textures.Get(DataOf(aircraft_type).texture), DataOf(aircraft_type).texture_rect),
      type(aircraft_type) {
    CenterOrigin(sprite);

    // The commands run later on the air layer; the aircraft is still in the tree then, because
    // wrecks are erased only after the queued commands have been delivered.
    fire_command.category = scene::Category::SCENE_AIR_LAYER;
    fire_command.action = [this, &textures](scene::SceneNode& node, sf::Time) { CreateBullets(node, textures); };
    missile_command.category = scene::Category::SCENE_AIR_LAYER;
    missile_command.action = [this, &textures](scene::SceneNode& node, sf::Time) {
        CreateProjectile(node, projectile::Projectile::Missile, 0.f, 0.5f, textures);
    };
    drop_pickup_command.category = scene::Category::SCENE_AIR_LAYER;
    drop_pickup_command.action = [this, &textures](scene::SceneNode& node, sf::Time) { CreatePickup(node, textures); };

    auto health = std::make_unique<scene::TextNode>(fonts, "");
    health_display = health.get();
    health_display->setPosition(0.f, 50.f);
    AttachChild(std::move(health));

    explosion.SetFrameSize(explosion_frame_size);
    explosion.SetNumFrames(static_cast<std::size_t>(asset::EXPLOSION_FRAMES));
    explosion.SetDuration(explosion_duration);
    CenterOrigin(explosion, explosion.GetLocalBounds());

    if (IsAlliedType(aircraft_type)) {
        auto missiles = std::make_unique<scene::TextNode>(fonts, "");
        missile_display = missiles.get();
        missile_display->setPosition(0.f, 70.f);
        AttachChild(std::move(missiles));
    }
    UpdateTexts();
}

const CharacterData_t& Character::Data() const { return DataOf(type); }

std::uint32_t Character::GetCategory() const {
    return IsAllied() ? scene::Category::PLAYER_CHARACTER : scene::Category::ENEMY_CHARACTER;
}

sf::FloatRect Character::GetBoundingRect() const {
    return GetWorldTransform().transformRect(sprite.getGlobalBounds());
}

bool Character::IsMarkedForRemoval() const { return IsDestroyed() && (explosion.IsFinished() || !show_explosion); }

void Character::Destroy() {
    Entity::Destroy();
    show_explosion = false;
}

void Character::Fire() {
    if (Data().fire_interval != sf::Time::Zero) is_firing = true;
}

void Character::LaunchMissile() {
    if (missile_ammo <= 0) return;
    is_launching_missile = true;
    --missile_ammo;
}

void Character::CollectMissiles(int num) {
    assert(num > 0);
    missile_ammo += num;
}

void Character::IncreaseFireRate() {
    if (fire_rate_level < max_fire_rate_level) ++fire_rate_level;
}

void Character::IncreaseSpread() {
    if (spread_level < max_spread_level) ++spread_level;
}

bool Character::IsAllied() const { return IsAlliedType(type); }

float Character::GetMaxSpeed() const {
    if (GetCategory() == scene::Category::PLAYER_CHARACTER) return Data().speed;
    return static_cast<float>(GetHitpoints()) * Data().speed / static_cast<float>(Data().hitpoints);
}

void Character::PlayLocalSound(command::CommandQueue& commands, holder::SoundId sound) {
    command::Command play;
    play.category = scene::Category::SOUND_EFFECT;
    play.action = command::DerivedAction<scene::SoundNode>(
        [this, sound](scene::SoundNode& node, sf::Time) { node.PlaySound(sound, GetWorldPosition()); });
    commands.push(std::move(play));
}

void Character::UpdateCurrent(sf::Time dt, command::CommandQueue& commands) {
    UpdateTexts();
    UpdateRollAnimation();
    if (IsDestroyed()) {
        UpdateWreck(dt, commands);
        return;
    }
    CheckProjectileLaunch(dt, commands);
    UpdateMovementPattern(dt);
    Entity::UpdateCurrent(dt, commands);
}

void Character::UpdateWreck(sf::Time dt, command::CommandQueue& commands) {
    CheckPickupDrop(commands);
    explosion.Update(dt);
    if (explosion_started) return;

    PlayLocalSound(commands, static_cast<holder::SoundId>(static_cast<int>(holder::SoundId::Explosion1) + RandomInt(0, 2)));
    if (!IsAllied()) {
        command::Command notice;
        notice.category = scene::Category::NETWORK;
        notice.action = command::DerivedAction<scene::NetworkNode>(
            [position = GetWorldPosition()](scene::NetworkNode& node, sf::Time) {
                node.NotifyGameAction(network::action::NetAction::EnemyExplosion, position);
            });
        commands.push(std::move(notice));
    }
    explosion_started = true;
}

void Character::CheckPickupDrop(command::CommandQueue& commands) {
    // Every destroyed update of an enemy draws, so the shared sequence advances the same way
    // whether or not the drop has been decided.
    if (!IsAllied() && RandomInt(0, 2) == 0 && !pickup_drop_decided && pickups_enabled)
        commands.push(drop_pickup_command);
    pickup_drop_decided = true;
}

void Character::CheckProjectileLaunch(sf::Time dt, command::CommandQueue& commands) {
    if (!IsAllied()) Fire();

    if (is_firing && fire_countdown <= sf::Time::Zero) {
        PlayLocalSound(commands, IsAllied() ? holder::SoundId::AlliedGunfire : holder::SoundId::EnemyGunfire);
        commands.push(fire_command);
        fire_countdown += sf::seconds(Data().fire_interval.asSeconds() / static_cast<float>(fire_rate_level + 1));
        is_firing = false;
    } else if (fire_countdown > sf::Time::Zero) {
        // A request made meanwhile stays pending until the countdown runs out.
        fire_countdown -= dt;
    }

    if (is_launching_missile) {
        PlayLocalSound(commands, holder::SoundId::LaunchMissile);
        commands.push(missile_command);
        is_launching_missile = false;
    }
}

void Character::UpdateMovementPattern(sf::Time dt) {
    const auto& directions = Data().directions;
    if (directions.empty()) return;

    const data_table::Direction_t& leg = directions.at(direction_index);
    if (travelled_distance > leg.distance) {
        travelled_distance = 0.f;
        direction_index = (direction_index + 1) % directions.size();
    }
    // Angle 0 points down the screen, hence the quarter turn.
    const auto radians = static_cast<float>((static_cast<double>(leg.angle) + 90.0) * std::numbers::pi / 180.0);
    const float speed = GetMaxSpeed();
    SetVelocity({static_cast<float>(pattern_sign) * (speed * std::cos(radians)), speed * std::sin(radians)});
    travelled_distance += dt.asSeconds() * speed;
}

void Character::UpdateRollAnimation() {
    if (!Data().has_roll_animation) return;
    const sf::IntRect& level = Data().texture_rect;
    const float vx = GetVelocity().x;
    const asset::Bank bank = vx == 0.f ? asset::Bank::Level : vx < 0.f ? asset::Bank::TowardsMinusX : asset::Bank::TowardsPlusX;
    sprite.setTextureRect(asset::ToIntRect(asset::BankFrame({level.left, level.top, level.width, level.height}, bank)));
}

void Character::UpdateTexts() {
    health_display->SetString(IsDestroyed() ? "" : fmt::format("{} HP", GetHitpoints()));
    health_display->setRotation(-getRotation());
    if (!missile_display) return;
    missile_display->SetString(missile_ammo == 0 || IsDestroyed() ? "" : fmt::format("{} M", missile_ammo));
    missile_display->setRotation(-getRotation());
}

void Character::DrawCurrent(sf::RenderTarget& target, sf::RenderStates states) const {
    if (IsDestroyed() && show_explosion)
        target.draw(explosion, states);
    else
        target.draw(sprite, states);
}

void Character::CreateBullets(scene::SceneNode& node, const holder::TextureHolder& textures) const {
    const auto bullet = IsAllied() ? projectile::Projectile::AlliedBullet : projectile::Projectile::EnemyBullet;
    switch (spread_level) {
        case 1:
            CreateProjectile(node, bullet, 0.f, 0.5f, textures);
            break;
        case 2:
            CreateProjectile(node, bullet, -0.33f, 0.33f, textures);
            CreateProjectile(node, bullet, 0.33f, 0.33f, textures);
            break;
        case 3:
            CreateProjectile(node, bullet, -0.5f, 0.33f, textures);
            CreateProjectile(node, bullet, 0.f, 0.5f, textures);
            CreateProjectile(node, bullet, 0.5f, 0.33f, textures);
            break;
        default:
            assert(false && "spread_level within 1 to 3");
    }
}

void Character::CreateProjectile(scene::SceneNode& node, projectile::Projectile::Type projectile_type, float x_offset,
                                 float y_offset, const holder::TextureHolder& textures) const {
    auto shot = std::make_unique<projectile::Projectile>(projectile_type, textures);
    const sf::FloatRect bounds = sprite.getGlobalBounds();
    sf::Vector2f offset(x_offset * bounds.width, y_offset * bounds.height);
    // Players shoot up the screen from their nose, enemies down from theirs.
    const float sign = IsAllied() ? -1.f : 1.f;
    if (IsAllied()) offset = -offset;
    shot->setPosition(GetWorldPosition() + offset);
    shot->SetVelocity({0.f, sign * shot->GetMaxSpeed()});
    node.AttachChild(std::move(shot));
}

void Character::CreatePickup(scene::SceneNode& node, const holder::TextureHolder& textures) const {
    const auto pickup_type = static_cast<pickup::Pickup::Type>(RandomInt(0, pickup::Pickup::TypeCount));
    auto pickup = std::make_unique<pickup::Pickup>(pickup_type, textures);
    pickup->setPosition(GetWorldPosition());
    pickup->SetVelocity({0.f, 1.f});
    node.AttachChild(std::move(pickup));
}

}  // namespace game::character
