#include "texture_layout.hpp"

#include <stdexcept>

namespace assetgen {

Rect_t BankFrame(const Rect_t& level, Bank bank) {
    if (bank == Bank::Level)
        return level;
    const int rows_down = bank == Bank::TowardsMinusX ? 1 : 2;
    return {level.left + 7 * level.width, level.top + rows_down * level.height, level.width, level.height};
}

namespace {

std::vector<TextureLayout_t> BuildLayouts() {
    std::vector<TextureLayout_t> layouts;
    layouts.push_back({"character.png", 544, 224,
                       {{"AlliedHeavy", ALLIED_HEAVY},
                        {"AlliedHeavy bank -x", BankFrame(ALLIED_HEAVY, Bank::TowardsMinusX)},
                        {"AlliedHeavy bank +x", BankFrame(ALLIED_HEAVY, Bank::TowardsPlusX)},
                        {"AlliedLight", ALLIED_LIGHT},
                        {"AlliedLight bank -x", BankFrame(ALLIED_LIGHT, Bank::TowardsMinusX)},
                        {"AlliedLight bank +x", BankFrame(ALLIED_LIGHT, Bank::TowardsPlusX)},
                        {"AlliedBullet", ALLIED_BULLET},
                        {"Missile", MISSILE}}});
    layouts.push_back({"enemy.png", 400, 560, {{"EnemyHeavy", ENEMY_HEAVY}, {"EnemyLight", ENEMY_LIGHT}}});
    layouts.push_back({"projectile.png", 384, 256,
                       {{"EnemyBullet", ENEMY_BULLET},
                        {"HealthRefill", HEALTH_PICKUP},
                        {"MissileRefill", MISSILE_PICKUP},
                        {"FireSpread", FIRE_SPREAD_PICKUP},
                        {"FireRate", FIRE_RATE_PICKUP}}});
    TextureLayout_t explosion{"explosion.png", EXPLOSION_FRAME * EXPLOSION_COLUMNS,
                              EXPLOSION_FRAME * (EXPLOSION_FRAMES / EXPLOSION_COLUMNS), {}};
    for (int frame = 0; frame < EXPLOSION_FRAMES; ++frame) {
        explosion.rects.push_back({"frame " + std::to_string(frame),
                                   {(frame % EXPLOSION_COLUMNS) * EXPLOSION_FRAME,
                                    (frame / EXPLOSION_COLUMNS) * EXPLOSION_FRAME, EXPLOSION_FRAME, EXPLOSION_FRAME}});
    }
    layouts.push_back(explosion);
    layouts.push_back({"jungle.png", JUNGLE_TILE, JUNGLE_TILE, {{"tile", {0, 0, JUNGLE_TILE, JUNGLE_TILE}}}});
    layouts.push_back({"finish.png", FINISH_WIDTH, FINISH_HEIGHT, {{"finish", {0, 0, FINISH_WIDTH, FINISH_HEIGHT}}}});
    layouts.push_back({"particle.png", PARTICLE_SIZE, PARTICLE_SIZE, {{"particle", {0, 0, PARTICLE_SIZE, PARTICLE_SIZE}}}});
    layouts.push_back({"button.png", BUTTON_WIDTH, 3 * BUTTON_HEIGHT,
                       {{"normal", {0, 0, BUTTON_WIDTH, BUTTON_HEIGHT}},
                        {"selected", {0, BUTTON_HEIGHT, BUTTON_WIDTH, BUTTON_HEIGHT}},
                        {"pressed", {0, 2 * BUTTON_HEIGHT, BUTTON_WIDTH, BUTTON_HEIGHT}}}});
    layouts.push_back({"background.png", 2072, 1408,
                       {{"Menu", MENU_BACKDROP}, {"Loading", LOADING_BACKDROP}, {"Spare", SPARE_BACKDROP}}});
    return layouts;
}

}  // namespace

const std::vector<TextureLayout_t>& TextureLayouts() {
    static const std::vector<TextureLayout_t> layouts = BuildLayouts();
    return layouts;
}

const TextureLayout_t& FindLayout(const std::string& file) {
    for (const TextureLayout_t& layout : TextureLayouts()) {
        if (layout.file == file)
            return layout;
    }
    throw std::logic_error("no texture layout for " + file);
}

}  // namespace assetgen
