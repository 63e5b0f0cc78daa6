#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string_view>

// Where every picture lies in the generated textures, in pixels: the asset generator paints
// there, the game cuts its sprites from there, and the asset tests check one against the other.
namespace asset {

struct Rect_t {
    int left;
    int top;
    int width;
    int height;
};

struct NamedRect_t {
    std::string_view name;
    Rect_t rect;
};

// One texture file: its size and the rectangles the game cuts from it.
struct Sheet_t {
    std::string_view file;  // under share/texture
    int width;
    int height;
    std::span<const NamedRect_t> rects;
};

// character.png: the allied aircraft (with their banking frames), the allied bullet, the missile.
inline constexpr Rect_t ALLIED_HEAVY{16, 16, 32, 48};
inline constexpr Rect_t ALLIED_LIGHT{280, 16, 32, 48};
inline constexpr Rect_t ALLIED_BULLET{16, 163, 15, 10};
inline constexpr Rect_t MISSILE{21, 195, 58, 10};

enum class Bank { Level, TowardsMinusX, TowardsPlusX };

// A banking frame sits 7 widths to the right of the level frame, one height down when the
// aircraft moves towards -x and two heights down when it moves towards +x.
constexpr Rect_t BankFrame(const Rect_t& level, Bank bank) {
    if (bank == Bank::Level) return level;
    const int rows_down = bank == Bank::TowardsMinusX ? 1 : 2;
    return {level.left + 7 * level.width, level.top + rows_down * level.height, level.width, level.height};
}

// enemy.png
inline constexpr Rect_t ENEMY_HEAVY{322, 83, 63, 65};
inline constexpr Rect_t ENEMY_LIGHT{322, 474, 63, 65};

// projectile.png: the enemy bullet and the pickups.
inline constexpr Rect_t ENEMY_BULLET{124, 129, 12, 14};
inline constexpr Rect_t HEALTH_PICKUP{271, 226, 12, 12};
inline constexpr Rect_t MISSILE_PICKUP{287, 226, 12, 12};
inline constexpr Rect_t FIRE_SPREAD_PICKUP{365, 224, 16, 16};
inline constexpr Rect_t FIRE_RATE_PICKUP{349, 224, 16, 16};

// explosion.png: square frames in rows of EXPLOSION_COLUMNS, played in reading order.
inline constexpr int EXPLOSION_FRAME = 256;
inline constexpr int EXPLOSION_FRAMES = 16;
inline constexpr int EXPLOSION_COLUMNS = 4;

constexpr Rect_t ExplosionFrame(int frame) {
    return {(frame % EXPLOSION_COLUMNS) * EXPLOSION_FRAME, (frame / EXPLOSION_COLUMNS) * EXPLOSION_FRAME,
            EXPLOSION_FRAME, EXPLOSION_FRAME};
}

// jungle.png tiles the ground; finish.png lies right above the world's top.
inline constexpr int JUNGLE_TILE = 512;
inline constexpr int FINISH_WIDTH = 640;
inline constexpr int FINISH_HEIGHT = 76;
inline constexpr int PARTICLE_SIZE = 24;

// button.png: the three looks stacked.
inline constexpr int BUTTON_WIDTH = 200;
inline constexpr int BUTTON_HEIGHT = 50;
inline constexpr Rect_t BUTTON_NORMAL{0, 0, BUTTON_WIDTH, BUTTON_HEIGHT};
inline constexpr Rect_t BUTTON_SELECTED{0, BUTTON_HEIGHT, BUTTON_WIDTH, BUTTON_HEIGHT};
inline constexpr Rect_t BUTTON_PRESSED{0, 2 * BUTTON_HEIGHT, BUTTON_WIDTH, BUTTON_HEIGHT};

// background.png: the screens' backdrops.
inline constexpr Rect_t MENU_BACKDROP{1288, 888, 512, 448};
inline constexpr Rect_t LOADING_BACKDROP{1816, 1152, 256, 256};
inline constexpr Rect_t SPARE_BACKDROP{1288, 192, 512, 512};

inline constexpr std::array<NamedRect_t, 8> CHARACTER_RECTS{{
    {"AlliedHeavy", ALLIED_HEAVY},
    {"AlliedHeavy bank -x", BankFrame(ALLIED_HEAVY, Bank::TowardsMinusX)},
    {"AlliedHeavy bank +x", BankFrame(ALLIED_HEAVY, Bank::TowardsPlusX)},
    {"AlliedLight", ALLIED_LIGHT},
    {"AlliedLight bank -x", BankFrame(ALLIED_LIGHT, Bank::TowardsMinusX)},
    {"AlliedLight bank +x", BankFrame(ALLIED_LIGHT, Bank::TowardsPlusX)},
    {"AlliedBullet", ALLIED_BULLET},
    {"Missile", MISSILE},
}};
inline constexpr std::array<NamedRect_t, 2> ENEMY_RECTS{{{"EnemyHeavy", ENEMY_HEAVY}, {"EnemyLight", ENEMY_LIGHT}}};
inline constexpr std::array<NamedRect_t, 5> PROJECTILE_RECTS{{
    {"EnemyBullet", ENEMY_BULLET},
    {"HealthRefill", HEALTH_PICKUP},
    {"MissileRefill", MISSILE_PICKUP},
    {"FireSpread", FIRE_SPREAD_PICKUP},
    {"FireRate", FIRE_RATE_PICKUP},
}};
inline constexpr std::array<NamedRect_t, EXPLOSION_FRAMES> EXPLOSION_RECTS = [] {
    std::array<NamedRect_t, EXPLOSION_FRAMES> frames{};
    for (int frame = 0; frame < EXPLOSION_FRAMES; ++frame) frames[static_cast<std::size_t>(frame)] = {"frame", ExplosionFrame(frame)};
    return frames;
}();
inline constexpr std::array<NamedRect_t, 1> JUNGLE_RECTS{{{"tile", {0, 0, JUNGLE_TILE, JUNGLE_TILE}}}};
inline constexpr std::array<NamedRect_t, 1> FINISH_RECTS{{{"finish", {0, 0, FINISH_WIDTH, FINISH_HEIGHT}}}};
inline constexpr std::array<NamedRect_t, 1> PARTICLE_RECTS{{{"particle", {0, 0, PARTICLE_SIZE, PARTICLE_SIZE}}}};
inline constexpr std::array<NamedRect_t, 3> BUTTON_RECTS{
    {{"normal", BUTTON_NORMAL}, {"selected", BUTTON_SELECTED}, {"pressed", BUTTON_PRESSED}}};
inline constexpr std::array<NamedRect_t, 3> BACKGROUND_RECTS{
    {{"Menu", MENU_BACKDROP}, {"Loading", LOADING_BACKDROP}, {"Spare", SPARE_BACKDROP}}};

inline constexpr Sheet_t CHARACTER_SHEET{"character.png", 544, 224, CHARACTER_RECTS};
inline constexpr Sheet_t ENEMY_SHEET{"enemy.png", 400, 560, ENEMY_RECTS};
inline constexpr Sheet_t PROJECTILE_SHEET{"projectile.png", 384, 256, PROJECTILE_RECTS};
inline constexpr Sheet_t EXPLOSION_SHEET{"explosion.png", EXPLOSION_FRAME * EXPLOSION_COLUMNS,
                                         EXPLOSION_FRAME * (EXPLOSION_FRAMES / EXPLOSION_COLUMNS), EXPLOSION_RECTS};
inline constexpr Sheet_t JUNGLE_SHEET{"jungle.png", JUNGLE_TILE, JUNGLE_TILE, JUNGLE_RECTS};
inline constexpr Sheet_t FINISH_SHEET{"finish.png", FINISH_WIDTH, FINISH_HEIGHT, FINISH_RECTS};
inline constexpr Sheet_t PARTICLE_SHEET{"particle.png", PARTICLE_SIZE, PARTICLE_SIZE, PARTICLE_RECTS};
inline constexpr Sheet_t BUTTON_SHEET{"button.png", BUTTON_WIDTH, 3 * BUTTON_HEIGHT, BUTTON_RECTS};
inline constexpr Sheet_t BACKGROUND_SHEET{"background.png", 2072, 1408, BACKGROUND_RECTS};

// Every texture the generator makes.
inline constexpr std::array<Sheet_t, 9> SHEETS{{CHARACTER_SHEET, ENEMY_SHEET, PROJECTILE_SHEET, EXPLOSION_SHEET,
                                                JUNGLE_SHEET, FINISH_SHEET, PARTICLE_SHEET, BUTTON_SHEET,
                                                BACKGROUND_SHEET}};

}  // namespace asset
