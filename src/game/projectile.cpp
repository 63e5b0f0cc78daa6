#include "game/projectile.hpp"

#include "game/data_table.hpp"
#include "game/vector_math.hpp"
#include "particle/emitter.hpp"
#include "util/text_util.hpp"

#include <SFML/Graphics/RenderTarget.hpp>

#include <cassert>
#include <cmath>
#include <memory>

namespace game::projectile {
namespace {

// How strongly a missile turns towards its target, in units per second of frame time.
constexpr float approach_rate = 400.f;

const ProjectileData_t& DataOf(Projectile::Type type) { return data_table::PROJECTILE_DATA.at(static_cast<std::size_t>(type)); }

}  // namespace

Projectile::Projectile(Type projectile_type, const holder::TextureHolder& textures)
    : Entity(1),
      sprite(textures.Get(DataOf(projectile_type).texture), DataOf(projectile_type).texture_rect),
      type(projectile_type) {
    CenterOrigin(sprite);
    if (!IsGuided()) return;
    // Smoke first, so the flame is drawn over it.
    const float tail = GetBoundingRect().height / 2.f;
    for (const auto particle_type : {particle::Particle::Smoke, particle::Particle::Propellant}) {
        auto emitter = std::make_unique<particle::emitter::EmitterNode>(particle_type);
        emitter->setPosition(0.f, tail);
        AttachChild(std::move(emitter));
    }
}

std::uint32_t Projectile::GetCategory() const {
    return type == EnemyBullet ? scene::Category::ENEMY_PROJECTILE : scene::Category::ALLIED_PROJECTILE;
}

sf::FloatRect Projectile::GetBoundingRect() const {
    // The box covers the picture as drawn, turned like the drawing, so a missile hits what it
    // visibly touches and its trail starts at its tail.
    return (GetWorldTransform() * DrawingTurn()).transformRect(sprite.getGlobalBounds());
}

sf::Transform Projectile::DrawingTurn() const {
    sf::Transform turn;
    // The sheet holds bullets and missiles pointing right; ours fly up the screen.
    if (type != EnemyBullet) turn.rotate(-90.f);
    return turn;
}

void Projectile::GuideTowards(sf::Vector2f position) {
    assert(IsGuided());
    target_direction = vector_math::Normalized(position - GetWorldPosition(), target_direction);
}

float Projectile::GetMaxSpeed() const { return DataOf(type).speed; }

int Projectile::GetDamage() const { return DataOf(type).damage; }

void Projectile::UpdateCurrent(sf::Time dt, command::CommandQueue& commands) {
    if (IsGuided()) Steer(dt);
    Entity::UpdateCurrent(dt, commands);
}

void Projectile::Steer(sf::Time dt) {
    const sf::Vector2f blended = target_direction * (dt.asSeconds() * approach_rate) + GetVelocity();
    const float length = vector_math::Length(blended);
    // Velocity and steering cancel out (or nothing moves yet): keep the current heading.
    if (length <= 0.f) return;
    const sf::Vector2f new_velocity = blended / length * GetMaxSpeed();
    setRotation(vector_math::ToDegrees(std::atan2(new_velocity.y, new_velocity.x)) + 90.f);
    SetVelocity(new_velocity);
}

void Projectile::DrawCurrent(sf::RenderTarget& target, sf::RenderStates states) const {
    states.transform *= DrawingTurn();
    target.draw(sprite, states);
}

}  // namespace game::projectile
