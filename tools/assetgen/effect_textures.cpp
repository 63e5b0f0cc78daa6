#include "effect_textures.hpp"

#include "noise.hpp"
#include "paint.hpp"
#include "png_canvas.hpp"
#include <asset/texture_layout.hpp>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace assetgen {
namespace {

using paint::Rgb;

constexpr double TWO_PI = 2.0 * std::numbers::pi;

// One billow of the fireball: where it heads, how far, how big it gets and when it cools.
struct Puff_t {
    double angle;
    double distance;
    double radius;
    double cooling;  // 0 cools first, 1 last
    double rise;     // smoke drifts upwards a little
};

// A spark thrown out of the blast early on.
struct Spark_t {
    double angle;
    double speed;
    double size;
};

std::vector<Puff_t> MakePuffs() {
    Noise noise(0xF1BEBA11);
    std::vector<Puff_t> puffs;
    // Scattered over a disc (square root for an even spread), in no particular order.
    for (int i = 0; i < 44; ++i) {
        const double angle = noise.Range(0, TWO_PI);
        const double distance = 58.0 * std::sqrt(noise.Unit());
        puffs.push_back({angle, distance, noise.Range(13, 27), noise.Unit(), noise.Range(4, 14)});
    }
    return puffs;
}

std::vector<Spark_t> MakeSparks() {
    Noise noise(0x5BA4C5);
    std::vector<Spark_t> sparks;
    for (int i = 0; i < 18; ++i)
        sparks.push_back({noise.Range(0, TWO_PI), noise.Range(70, 100), noise.Range(1.2, 2.4)});
    return sparks;
}

// Fire colour by heat: white, yellow, orange, deep red, then sooty grey.
Rgb HeatColor(double heat) {
    static const Rgb stops[] = {paint::Hex(0x3A3430), paint::Hex(0x7A2A10), paint::Hex(0xE05A10),
                                paint::Hex(0xFFB020), paint::Hex(0xFFF0B0), paint::Hex(0xFFFFFF)};
    heat = std::clamp(heat, 0.0, 1.0) * 5.0;
    const int index = std::min(4, static_cast<int>(heat));
    return paint::Mix(stops[index], stops[index + 1], heat - index);
}

double EaseOut(double t) { return 1.0 - (1.0 - t) * (1.0 - t); }

// A billow with some volume: lit towards the upper left, darker and thinning at its rim.
void Billow(cairo_t* cr, double x, double y, double r, const Rgb& color, double alpha) {
    cairo_pattern_t* shade = cairo_pattern_create_radial(x - r * 0.3, y - r * 0.35, r * 0.05, x, y, r);
    const Rgb lit = paint::Mix(color, paint::Hex(0xFFFFFF), 0.25);
    const Rgb rim = paint::Scale(color, 0.78);
    cairo_pattern_add_color_stop_rgba(shade, 0.0, lit.r, lit.g, lit.b, alpha);
    cairo_pattern_add_color_stop_rgba(shade, 0.5, color.r, color.g, color.b, alpha);
    cairo_pattern_add_color_stop_rgba(shade, 0.8, rim.r, rim.g, rim.b, alpha * 0.6);
    cairo_pattern_add_color_stop_rgba(shade, 1.0, rim.r, rim.g, rim.b, 0.0);
    cairo_set_source(cr, shade);
    cairo_arc(cr, x, y, r, 0, TWO_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(shade);
}

void DrawFrame(cairo_t* cr, int frame, const std::vector<Puff_t>& puffs, const std::vector<Spark_t>& sparks) {
    const double t = frame / static_cast<double>(asset::EXPLOSION_FRAMES - 1);  // 0 .. 1
    const double c = asset::EXPLOSION_FRAME / 2.0;

    // A glowing body under the billows holds the fireball together.
    const double body_heat = 1.0 - t * 1.3;
    const double body_alpha = t < 0.6 ? 0.9 : std::max(0.0, 0.9 * (1.0 - (t - 0.6) / 0.4));
    paint::SoftBlob(cr, c, c - 6 * t * t, 30 + 60 * EaseOut(std::min(1.0, t * 2.0)), HeatColor(body_heat), body_alpha);
    // Billows: spread out, cool from white-hot to smoke, thin out at the end.
    for (const Puff_t& puff : puffs) {
        const double reach = puff.distance * EaseOut(std::min(1.0, t * 1.6));
        const double x = c + std::cos(puff.angle) * reach;
        const double y = c + std::sin(puff.angle) * reach - puff.rise * t * t;
        const double radius = puff.radius * (0.35 + 0.9 * EaseOut(std::min(1.0, t * 2.2))) * (1.0 + 0.25 * t);
        const double heat = 1.05 - t * (1.0 + 0.4 * (1.0 - puff.cooling)) - 0.15 * puff.distance / 58.0;
        // The last frame keeps a wisp of smoke rather than going blank.
        const double alpha = t < 0.6 ? 1.0 : 1.0 - 0.85 * (t - 0.6) / 0.4;
        const double smoke_fade = heat <= 0.0 ? 0.75 : 1.0;
        Billow(cr, x, y, radius, HeatColor(heat), 0.95 * alpha * smoke_fade);
    }
    // The flash: a white core that swells over the first frames and is gone by the middle.
    const double flash = std::max(0.0, 1.0 - t * 2.2);
    if (flash > 0.0) {
        cairo_save(cr);
        cairo_set_operator(cr, CAIRO_OPERATOR_ADD);
        paint::SoftBlob(cr, c, c, 40 + 60 * EaseOut(std::min(1.0, t * 4.0)), paint::Hex(0xFFF4D0), flash);
        paint::SoftBlob(cr, c, c, 22 + 20 * t, paint::Hex(0xFFFFFF), flash);
        cairo_restore(cr);
    }
    // Sparks streak outwards and fade during the first half.
    if (t < 0.55) {
        const double fade = 1.0 - t / 0.55;
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        for (const Spark_t& spark : sparks) {
            const double reach = 12 + spark.speed * EaseOut(t / 0.55);
            const double dx = std::cos(spark.angle), dy = std::sin(spark.angle);
            cairo_move_to(cr, c + dx * (reach - 10 * fade), c + dy * (reach - 10 * fade));
            cairo_line_to(cr, c + dx * reach, c + dy * reach);
            cairo_set_line_width(cr, spark.size);
            paint::Source(cr, paint::Hex(0xFFF0A0), fade);
            cairo_stroke(cr);
        }
    }
}

}  // namespace

void MakeExplosionTexture(const std::filesystem::path& share) {
    const asset::Sheet_t& layout = asset::EXPLOSION_SHEET;
    PngCanvas canvas(layout.width, layout.height);
    cairo_t* cr = canvas.Context();
    const std::vector<Puff_t> puffs = MakePuffs();
    const std::vector<Spark_t> sparks = MakeSparks();
    for (int frame = 0; frame < asset::EXPLOSION_FRAMES; ++frame)
        paint::InRect(cr, layout.rects[static_cast<std::size_t>(frame)].rect, [&] { DrawFrame(cr, frame, puffs, sparks); });
    canvas.Save(share / "texture" / layout.file);
}

void MakeParticleTexture(const std::filesystem::path& share) {
    const asset::Sheet_t& layout = asset::PARTICLE_SHEET;
    PngCanvas canvas(layout.width, layout.height);
    cairo_t* cr = canvas.Context();
    // The fall-off ends a pixel short of the edge, so the outermost pixels are fully transparent.
    const double c = asset::PARTICLE_SIZE / 2.0;
    const double r = c - 1.0;
    cairo_pattern_t* blob = cairo_pattern_create_radial(c, c, 0, c, c, r);
    // A smooth, roughly Gaussian fall-off that reaches zero exactly at the rim.
    for (int i = 0; i <= 8; ++i) {
        const double d = i / 8.0;
        cairo_pattern_add_color_stop_rgba(blob, d, 1, 1, 1, std::exp(-3.0 * d * d) * (1.0 - d * d));
    }
    cairo_set_source(cr, blob);
    cairo_paint(cr);
    cairo_pattern_destroy(blob);
    canvas.Save(share / "texture" / layout.file);
}

}  // namespace assetgen
