#pragma once

#include <string>
#include <vector>

namespace assetgen {

// A picture's place in its texture, in pixels.
struct Rect_t {
    int left;
    int top;
    int width;
    int height;
};

struct NamedRect_t {
    std::string name;
    Rect_t rect;
};

// One texture file: its size and the rectangles the game cuts from it.
struct TextureLayout_t {
    std::string file;  // relative to share/texture
    int width;
    int height;
    std::vector<NamedRect_t> rects;
};

// The rectangles the game reads.
inline constexpr Rect_t ALLIED_HEAVY{16, 16, 32, 48};
inline constexpr Rect_t ALLIED_LIGHT{280, 16, 32, 48};
inline constexpr Rect_t ALLIED_BULLET{16, 163, 15, 10};
inline constexpr Rect_t MISSILE{21, 195, 58, 10};
inline constexpr Rect_t ENEMY_HEAVY{322, 83, 63, 65};
inline constexpr Rect_t ENEMY_LIGHT{322, 474, 63, 65};
inline constexpr Rect_t ENEMY_BULLET{124, 129, 12, 14};
inline constexpr Rect_t HEALTH_PICKUP{271, 226, 12, 12};
inline constexpr Rect_t MISSILE_PICKUP{287, 226, 12, 12};
inline constexpr Rect_t FIRE_SPREAD_PICKUP{365, 224, 16, 16};
inline constexpr Rect_t FIRE_RATE_PICKUP{349, 224, 16, 16};
inline constexpr Rect_t MENU_BACKDROP{1288, 888, 512, 448};
inline constexpr Rect_t LOADING_BACKDROP{1816, 1152, 256, 256};
inline constexpr Rect_t SPARE_BACKDROP{1288, 192, 512, 512};

inline constexpr int EXPLOSION_FRAME = 256;
inline constexpr int EXPLOSION_FRAMES = 16;
inline constexpr int EXPLOSION_COLUMNS = 4;
inline constexpr int JUNGLE_TILE = 512;
inline constexpr int FINISH_WIDTH = 640;
inline constexpr int FINISH_HEIGHT = 76;
inline constexpr int PARTICLE_SIZE = 24;
inline constexpr int BUTTON_WIDTH = 200;
inline constexpr int BUTTON_HEIGHT = 50;

enum class Bank { Level, TowardsMinusX, TowardsPlusX };

// A banking frame sits 7 widths to the right of the level frame, one height down when the
// aircraft moves towards -x and two heights down when it moves towards +x.
Rect_t BankFrame(const Rect_t& level, Bank bank);

// Every texture with all its named rectangles (for the contact sheet and for checks).
const std::vector<TextureLayout_t>& TextureLayouts();
// The layout of one file; throws std::logic_error for an unknown one.
const TextureLayout_t& FindLayout(const std::string& file);

}  // namespace assetgen
