#include "sprite_textures.hpp"

#include "aircraft_painter.hpp"
#include "munition_painter.hpp"
#include "paint.hpp"
#include "png_canvas.hpp"
#include <asset/texture_layout.hpp>

namespace assetgen {
void MakeCharacterTexture(const std::filesystem::path& share) {
    const asset::Sheet_t& layout = asset::CHARACTER_SHEET;
    PngCanvas canvas(layout.width, layout.height);
    cairo_t* cr = canvas.Context();
    for (asset::Bank bank : {asset::Bank::Level, asset::Bank::TowardsMinusX, asset::Bank::TowardsPlusX}) {
        paint::InRect(cr, asset::BankFrame(asset::ALLIED_HEAVY, bank), [&] { aircraft::AlliedHeavy(cr, bank); });
        paint::InRect(cr, asset::BankFrame(asset::ALLIED_LIGHT, bank), [&] { aircraft::AlliedLight(cr, bank); });
    }
    paint::InRect(cr, asset::ALLIED_BULLET, [&] { munition::AlliedBullet(cr); });
    paint::InRect(cr, asset::MISSILE, [&] { munition::Missile(cr); });
    canvas.Save(share / "texture" / layout.file);
}

void MakeEnemyTexture(const std::filesystem::path& share) {
    const asset::Sheet_t& layout = asset::ENEMY_SHEET;
    PngCanvas canvas(layout.width, layout.height);
    cairo_t* cr = canvas.Context();
    paint::InRect(cr, asset::ENEMY_HEAVY, [&] { aircraft::EnemyHeavy(cr); });
    paint::InRect(cr, asset::ENEMY_LIGHT, [&] { aircraft::EnemyLight(cr); });
    canvas.Save(share / "texture" / layout.file);
}

void MakeProjectileTexture(const std::filesystem::path& share) {
    const asset::Sheet_t& layout = asset::PROJECTILE_SHEET;
    PngCanvas canvas(layout.width, layout.height);
    cairo_t* cr = canvas.Context();
    paint::InRect(cr, asset::ENEMY_BULLET, [&] { munition::EnemyBullet(cr); });
    paint::InRect(cr, asset::HEALTH_PICKUP, [&] { munition::HealthRefill(cr); });
    paint::InRect(cr, asset::MISSILE_PICKUP, [&] { munition::MissileRefill(cr); });
    paint::InRect(cr, asset::FIRE_SPREAD_PICKUP, [&] { munition::FireSpread(cr); });
    paint::InRect(cr, asset::FIRE_RATE_PICKUP, [&] { munition::FireRate(cr); });
    canvas.Save(share / "texture" / layout.file);
}

}  // namespace assetgen
