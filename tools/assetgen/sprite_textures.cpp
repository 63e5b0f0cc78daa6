#include "sprite_textures.hpp"

#include "aircraft_painter.hpp"
#include "munition_painter.hpp"
#include "paint.hpp"
#include "png_canvas.hpp"
#include "texture_layout.hpp"

namespace assetgen {
void MakeCharacterTexture(const std::filesystem::path& share) {
    const TextureLayout_t& layout = FindLayout("character.png");
    PngCanvas canvas(layout.width, layout.height);
    cairo_t* cr = canvas.Context();
    for (Bank bank : {Bank::Level, Bank::TowardsMinusX, Bank::TowardsPlusX}) {
        paint::InRect(cr, BankFrame(ALLIED_HEAVY, bank), [&] { aircraft::AlliedHeavy(cr, bank); });
        paint::InRect(cr, BankFrame(ALLIED_LIGHT, bank), [&] { aircraft::AlliedLight(cr, bank); });
    }
    paint::InRect(cr, ALLIED_BULLET, [&] { munition::AlliedBullet(cr); });
    paint::InRect(cr, MISSILE, [&] { munition::Missile(cr); });
    canvas.Save(share / "texture" / layout.file);
}

void MakeEnemyTexture(const std::filesystem::path& share) {
    const TextureLayout_t& layout = FindLayout("enemy.png");
    PngCanvas canvas(layout.width, layout.height);
    cairo_t* cr = canvas.Context();
    paint::InRect(cr, ENEMY_HEAVY, [&] { aircraft::EnemyHeavy(cr); });
    paint::InRect(cr, ENEMY_LIGHT, [&] { aircraft::EnemyLight(cr); });
    canvas.Save(share / "texture" / layout.file);
}

void MakeProjectileTexture(const std::filesystem::path& share) {
    const TextureLayout_t& layout = FindLayout("projectile.png");
    PngCanvas canvas(layout.width, layout.height);
    cairo_t* cr = canvas.Context();
    paint::InRect(cr, ENEMY_BULLET, [&] { munition::EnemyBullet(cr); });
    paint::InRect(cr, HEALTH_PICKUP, [&] { munition::HealthRefill(cr); });
    paint::InRect(cr, MISSILE_PICKUP, [&] { munition::MissileRefill(cr); });
    paint::InRect(cr, FIRE_SPREAD_PICKUP, [&] { munition::FireSpread(cr); });
    paint::InRect(cr, FIRE_RATE_PICKUP, [&] { munition::FireRate(cr); });
    canvas.Save(share / "texture" / layout.file);
}

}  // namespace assetgen
