#include "terrain_textures.hpp"

#include "noise.hpp"
#include "paint.hpp"
#include "png_canvas.hpp"
#include <asset/texture_layout.hpp>
#include "value_noise.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace assetgen {
namespace {

using paint::Hex;
using paint::Rgb;

constexpr double TILE = asset::JUNGLE_TILE;
constexpr double TWO_PI = 2.0 * std::numbers::pi;

// The river winds with a period of one tile, so it leaves the bottom where it entered the top.
double RiverX(double y) { return 340.0 + 42.0 * std::sin(TWO_PI * y / TILE) + 16.0 * std::sin(2 * TWO_PI * y / TILE + 1.3); }
double RiverHalfWidth(double y) { return 15.0 + 4.0 * std::sin(3 * TWO_PI * y / TILE + 0.5); }

double SmoothStep(double edge0, double edge1, double x) {
    const double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

void GroundAndRiver(PngCanvas& canvas) {
    const std::vector<TilingNoise> ground = MakeOctaves(4, 5, 0x6A0D);
    const std::vector<TilingNoise> patches = MakeOctaves(3, 3, 0xC1EA);
    const std::vector<TilingNoise> ripples = MakeOctaves(16, 2, 0x3A7E);
    const Rgb dark = Hex(0x17301A), mid = Hex(0x2B4A22), light = Hex(0x3F6329), clearing = Hex(0x4C4A2A);
    const Rgb deep = Hex(0x173F4C), shallow = Hex(0x2B5F63), sand = Hex(0x5F5538);
    canvas.FillPixels([&](int px, int py, double& r, double& g, double& b, double&) {
        const double u = px / TILE, v = py / TILE;
        const double n = TilingNoise::Fractal(ground, u, v);
        Rgb color = n < 0.5 ? paint::Mix(dark, mid, SmoothStep(0.25, 0.5, n)) : paint::Mix(mid, light, SmoothStep(0.5, 0.75, n));
        color = paint::Mix(color, clearing, 0.8 * SmoothStep(0.62, 0.72, TilingNoise::Fractal(patches, u, v)));
        const double d = std::fabs(px + 0.5 - RiverX(py + 0.5));
        const double half = RiverHalfWidth(py + 0.5);
        const double ripple = TilingNoise::Fractal(ripples, u, v);
        const Rgb water = paint::Mix(deep, shallow, std::clamp(d / half * 0.8 + (ripple - 0.5) * 0.5, 0.0, 1.0));
        color = paint::Mix(color, sand, 1.0 - SmoothStep(half + 2.0, half + 6.0, d));
        color = paint::Mix(color, water, 1.0 - SmoothStep(half - 0.7, half + 0.7, d));
        r = color.r;
        g = color.g;
        b = color.b;
    });
}

struct Tree_t {
    double x;
    double y;
    double radius;
    bool palm;
    std::uint64_t seed;
};

void BroadleafCrown(cairo_t* cr, const Tree_t& tree) {
    Noise noise(tree.seed);
    const Rgb base = paint::Mix(Hex(0x1E461C), Hex(0x3A7029), noise.Unit());
    // Shadow cast down-right, then lobes, then sunlit tops towards the upper left.
    paint::Ellipse(cr, tree.x + tree.radius * 0.3, tree.y + tree.radius * 0.35, tree.radius * 1.05, tree.radius);
    paint::Source(cr, Hex(0x050A04), 0.45);
    cairo_fill(cr);
    const int lobes = 4 + static_cast<int>(noise.Unit() * 3);
    for (int i = 0; i < lobes; ++i) {
        const double angle = TWO_PI * (i + noise.Unit() * 0.5) / lobes;
        const double lx = tree.x + std::cos(angle) * tree.radius * 0.42;
        const double ly = tree.y + std::sin(angle) * tree.radius * 0.42;
        const double lr = tree.radius * noise.Range(0.5, 0.68);
        cairo_pattern_t* shade = cairo_pattern_create_radial(lx - lr * 0.35, ly - lr * 0.4, lr * 0.1, lx, ly, lr);
        const Rgb top = paint::Scale(base, 1.45), bottom = paint::Scale(base, 0.7);
        cairo_pattern_add_color_stop_rgb(shade, 0, top.r, top.g, top.b);
        cairo_pattern_add_color_stop_rgb(shade, 1, bottom.r, bottom.g, bottom.b);
        cairo_set_source(cr, shade);
        cairo_arc(cr, lx, ly, lr, 0, TWO_PI);
        cairo_fill(cr);
        cairo_pattern_destroy(shade);
    }
}

void PalmCrown(cairo_t* cr, const Tree_t& tree) {
    Noise noise(tree.seed);
    const int fronds = 7;
    for (int pass = 0; pass < 2; ++pass) {
        // First pass: shadows offset down-right; second: the fronds themselves.
        const double ox = pass == 0 ? tree.radius * 0.3 : 0.0;
        const double oy = pass == 0 ? tree.radius * 0.35 : 0.0;
        for (int i = 0; i < fronds; ++i) {
            const double angle = TWO_PI * (i + 0.3 * std::sin(i * 2.1)) / fronds;
            cairo_save(cr);
            cairo_translate(cr, tree.x + ox, tree.y + oy);
            cairo_rotate(cr, angle);
            cairo_move_to(cr, 0, 0);
            cairo_curve_to(cr, tree.radius * 0.4, -tree.radius * 0.22, tree.radius * 0.8, -tree.radius * 0.15, tree.radius, 0.5);
            cairo_curve_to(cr, tree.radius * 0.8, tree.radius * 0.15, tree.radius * 0.4, tree.radius * 0.2, 0, 0);
            cairo_close_path(cr);
            cairo_restore(cr);
            if (pass == 0)
                paint::Source(cr, Hex(0x050A04), 0.4);
            else
                paint::Source(cr, paint::Mix(Hex(0x2F6A26), Hex(0x4E8A32), noise.Unit()));
            cairo_fill(cr);
        }
    }
    cairo_arc(cr, tree.x, tree.y, tree.radius * 0.12, 0, TWO_PI);
    paint::Source(cr, Hex(0x4A3A20));
    cairo_fill(cr);
}

std::vector<Tree_t> PlantTrees() {
    Noise noise(0x7EE5);
    std::vector<Tree_t> trees;
    const std::vector<TilingNoise> density = MakeOctaves(4, 2, 0xDE45);
    for (int i = 0; i < 900 && trees.size() < 340; ++i) {
        const double x = noise.Unit() * TILE, y = noise.Unit() * TILE;
        const double radius = noise.Range(8, 17);
        const double river_gap = std::fabs(x - RiverX(y)) - RiverHalfWidth(y);
        const bool palm = river_gap > 3 && river_gap < 22 && noise.Unit() < 0.6;
        if (river_gap < (palm ? 3.0 : radius * 0.8))
            continue;
        // Thinner forest where the density noise is low, leaving clearings.
        if (!palm && TilingNoise::Fractal(density, x / TILE, y / TILE) < 0.42)
            continue;
        trees.push_back({x, y, palm ? noise.Range(9, 13) : radius, palm, noise.Next()});
    }
    // Back to front, so crowns further down overlap the ones above as seen from the south-east sun.
    std::sort(trees.begin(), trees.end(), [](const Tree_t& a, const Tree_t& b) { return a.y < b.y; });
    return trees;
}

}  // namespace

void MakeJungleTexture(const std::filesystem::path& share) {
    const asset::Sheet_t& layout = asset::JUNGLE_SHEET;
    PngCanvas canvas(layout.width, layout.height);
    GroundAndRiver(canvas);
    cairo_t* cr = canvas.Context();
    for (const Tree_t& tree : PlantTrees()) {
        // A crown crossing an edge is drawn again on the far side, so the tile wraps.
        for (double dy : {-TILE, 0.0, TILE}) {
            for (double dx : {-TILE, 0.0, TILE}) {
                Tree_t copy = tree;
                copy.x += dx;
                copy.y += dy;
                const double reach = tree.radius * 1.6;
                if (copy.x + reach < 0 || copy.x - reach > TILE || copy.y + reach < 0 || copy.y - reach > TILE)
                    continue;
                if (tree.palm)
                    PalmCrown(cr, copy);
                else
                    BroadleafCrown(cr, copy);
            }
        }
    }
    canvas.Save(share / "texture" / layout.file);
}

void MakeFinishTexture(const std::filesystem::path& share) {
    const asset::Sheet_t& layout = asset::FINISH_SHEET;
    PngCanvas canvas(layout.width, layout.height);
    cairo_t* cr = canvas.Context();
    constexpr int columns = 32;
    constexpr int rows = 4;
    const double cell_w = static_cast<double>(asset::FINISH_WIDTH) / columns;
    const double cell_h = static_cast<double>(asset::FINISH_HEIGHT) / rows;
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            cairo_rectangle(cr, column * cell_w, row * cell_h, cell_w, cell_h);
            paint::Source(cr, (row + column) % 2 == 0 ? Hex(0xE6E6E2) : Hex(0x1C1C20));
            cairo_fill(cr);
        }
    }
    // A soft sheen across the banner so it does not look flat.
    cairo_pattern_t* sheen = cairo_pattern_create_linear(0, 0, 0, asset::FINISH_HEIGHT);
    cairo_pattern_add_color_stop_rgba(sheen, 0, 1, 1, 1, 0.12);
    cairo_pattern_add_color_stop_rgba(sheen, 0.5, 1, 1, 1, 0.0);
    cairo_pattern_add_color_stop_rgba(sheen, 1, 0, 0, 0, 0.25);
    cairo_set_source(cr, sheen);
    cairo_paint(cr);
    cairo_pattern_destroy(sheen);
    canvas.Save(share / "texture" / layout.file);
}

}  // namespace assetgen
