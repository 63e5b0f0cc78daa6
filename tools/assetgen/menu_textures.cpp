#include "menu_textures.hpp"

#include "noise.hpp"
#include "paint.hpp"
#include "png_canvas.hpp"
#include <asset/texture_layout.hpp>

#include <cmath>
#include <numbers>
#include <vector>

namespace assetgen {
namespace {

using paint::Hex;
using paint::Rgb;

constexpr double TWO_PI = 2.0 * std::numbers::pi;

struct ButtonLook_t {
    Rgb top;
    Rgb bottom;
    Rgb rim;
    double rim_width;
    bool inset;  // pressed: lit from below, as if pushed in
};

void DrawButton(cairo_t* cr, const ButtonLook_t& look) {
    const double w = asset::BUTTON_WIDTH, h = asset::BUTTON_HEIGHT;
    paint::RoundedRect(cr, 2, 2, w - 4, h - 4, 10);
    cairo_pattern_t* fill = paint::VerticalShade(2, h - 2, look.inset ? look.bottom : look.top, look.inset ? look.top : look.bottom);
    cairo_set_source(cr, fill);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(fill);
    paint::Source(cr, look.rim);
    cairo_set_line_width(cr, look.rim_width);
    cairo_stroke(cr);
    // A thin glossy line inside the upper (or, pressed, lower) edge.
    const double y = look.inset ? h - 7.5 : 7.5;
    cairo_move_to(cr, 14, y);
    cairo_line_to(cr, w - 14, y);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, 1.5);
    paint::Source(cr, Hex(0xFFFFFF), look.inset ? 0.12 : 0.22);
    cairo_stroke(cr);
}

// A scene: sky, a sun or moon, clouds and ranges of jungle hills fading into haze.
struct Scene_t {
    Rgb sky_top;
    Rgb sky_horizon;
    Rgb light;        // sun or moon
    double light_x;   // fractions of the picture
    double light_y;
    double light_radius;
    Rgb cloud;
    Rgb far_hills;
    Rgb near_hills;
    double horizon;   // fraction of the height where the hills start
    bool stars;
    int planes;
    std::uint64_t seed;
};

// A ridge line of rolling hills topped with bumpy tree crowns.
void HillRange(cairo_t* cr, double w, double h, double base, double amplitude, double crown, const Rgb& color, Noise& noise) {
    const double phase1 = noise.Range(0, TWO_PI), phase2 = noise.Range(0, TWO_PI);
    const double wave1 = noise.Range(1.0, 2.0), wave2 = noise.Range(2.5, 4.5);
    auto ridge = [&](double x) {
        return base - amplitude * (0.6 * std::sin(TWO_PI * wave1 * x / w + phase1) + 0.4 * std::sin(TWO_PI * wave2 * x / w + phase2));
    };
    cairo_move_to(cr, -crown, h);
    cairo_line_to(cr, -crown, ridge(-crown));
    for (double x = -crown; x <= w + crown; x += crown) {
        // Each step is one tree crown: a little arc above the ridge.
        const double top = ridge(x) - crown * noise.Range(0.3, 0.8);
        cairo_curve_to(cr, x + crown * 0.1, top, x + crown * 0.9, top, x + crown, ridge(x + crown));
    }
    cairo_line_to(cr, w + crown, h);
    cairo_close_path(cr);
    paint::Source(cr, color);
    cairo_fill(cr);
}

// A plane seen from below against the sky: fuselage, wings and tailplane in silhouette.
void PlaneSilhouette(cairo_t* cr, double x, double y, double size, const Rgb& color) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, size, size);
    paint::Ellipse(cr, 0, 0, 0.12, 1.0);
    cairo_move_to(cr, -1.0, 0.05);
    cairo_line_to(cr, 1.0, 0.05);
    cairo_line_to(cr, 0.95, 0.25);
    cairo_line_to(cr, -0.95, 0.25);
    cairo_close_path(cr);
    cairo_move_to(cr, -0.38, 0.8);
    cairo_line_to(cr, 0.38, 0.8);
    cairo_line_to(cr, 0.35, 0.92);
    cairo_line_to(cr, -0.35, 0.92);
    cairo_close_path(cr);
    cairo_restore(cr);
    paint::Source(cr, color, 0.9);
    cairo_fill(cr);
}

void DrawScene(cairo_t* cr, double w, double h, const Scene_t& scene) {
    Noise noise(scene.seed);
    const double horizon = h * scene.horizon;
    cairo_pattern_t* sky = paint::VerticalShade(0, horizon, scene.sky_top, scene.sky_horizon);
    cairo_set_source(cr, sky);
    cairo_paint(cr);
    cairo_pattern_destroy(sky);

    if (scene.stars) {
        for (int i = 0; i < 90; ++i) {
            const double x = noise.Unit() * w, y = noise.Unit() * horizon * 0.9;
            cairo_arc(cr, x, y, noise.Range(0.4, 1.1), 0, TWO_PI);
            paint::Source(cr, Hex(0xE8ECFF), noise.Range(0.3, 0.9));
            cairo_fill(cr);
        }
    }
    const double lx = w * scene.light_x, ly = h * scene.light_y, lr = h * scene.light_radius;
    paint::SoftBlob(cr, lx, ly, lr * 5.0, scene.light, 0.35);
    cairo_arc(cr, lx, ly, lr, 0, TWO_PI);
    paint::Source(cr, paint::Mix(scene.light, Hex(0xFFFFFF), 0.5));
    cairo_fill(cr);

    // Clouds: flattened soft blobs in loose banks.
    for (int bank = 0; bank < 5; ++bank) {
        const double cx = noise.Unit() * w, cy = noise.Range(0.12, 0.75) * horizon;
        for (int puff = 0; puff < 7; ++puff) {
            cairo_save(cr);
            cairo_translate(cr, cx + noise.Range(-0.12, 0.12) * w, cy + noise.Range(-0.02, 0.02) * h);
            cairo_scale(cr, 2.6, 1.0);
            paint::SoftBlob(cr, 0, 0, noise.Range(0.03, 0.06) * h, scene.cloud, 0.35);
            cairo_restore(cr);
        }
    }
    for (int plane = 0; plane < scene.planes; ++plane) {
        const double size = h * (0.05 - 0.012 * plane);
        PlaneSilhouette(cr, w * (0.26 + 0.09 * plane), h * (0.22 + 0.06 * plane), size, paint::Scale(scene.sky_top, 0.45));
    }

    // Four ranges from far to near, each darker and more saturated, with haze between them.
    for (int range = 0; range < 4; ++range) {
        const double t = range / 3.0;
        const Rgb color = paint::Mix(scene.far_hills, scene.near_hills, t);
        const double base = horizon + (h - horizon) * (0.08 + 0.28 * range);
        HillRange(cr, w, h, base, h * (0.05 - 0.008 * range), h * (0.012 + 0.01 * range), color, noise);
        if (range < 3) {
            cairo_pattern_t* haze = cairo_pattern_create_linear(0, base - h * 0.06, 0, base + h * 0.12);
            cairo_pattern_add_color_stop_rgba(haze, 0, scene.sky_horizon.r, scene.sky_horizon.g, scene.sky_horizon.b, 0.0);
            cairo_pattern_add_color_stop_rgba(haze, 1, scene.sky_horizon.r, scene.sky_horizon.g, scene.sky_horizon.b, 0.3);
            cairo_set_source(cr, haze);
            cairo_rectangle(cr, 0, base - h * 0.06, w, h);
            cairo_fill(cr);
            cairo_pattern_destroy(haze);
        }
    }
}

}  // namespace

void MakeButtonTexture(const std::filesystem::path& share) {
    const asset::Sheet_t& layout = asset::BUTTON_SHEET;
    PngCanvas canvas(layout.width, layout.height);
    cairo_t* cr = canvas.Context();
    const ButtonLook_t looks[] = {
        {Hex(0x3A5238), Hex(0x1E2C1E), Hex(0x6C7E64), 2.0, false},  // normal: muted jungle green
        {Hex(0x5E9A4A), Hex(0x2C5424), Hex(0xE8F0B0), 3.0, false},  // selected: brighter, light rim
        {Hex(0xC08A2A), Hex(0x6A4210), Hex(0xFFE090), 3.0, true},   // pressed: amber, pushed in
    };
    for (std::size_t i = 0; i < 3; ++i)
        paint::InRect(cr, layout.rects[i].rect, [&] { DrawButton(cr, looks[i]); });
    canvas.Save(share / "texture" / layout.file);
}

void MakeBackgroundTexture(const std::filesystem::path& share) {
    const asset::Sheet_t& layout = asset::BACKGROUND_SHEET;
    PngCanvas canvas(layout.width, layout.height);
    cairo_t* cr = canvas.Context();
    const Scene_t dusk{Hex(0x1C1A3C), Hex(0xD0703A), Hex(0xFFB050), 0.7, 0.5, 0.06, Hex(0xF0A080),
                       Hex(0x5A4048), Hex(0x0C1A10), 0.55, false, 3, 0xD05C};
    const Scene_t day{Hex(0x2A64A8), Hex(0xA8CCD8), Hex(0xFFF2C0), 0.25, 0.18, 0.05, Hex(0xFFFFFF),
                      Hex(0x5C7C78), Hex(0x10281A), 0.6, false, 1, 0xDA4};
    const Scene_t night{Hex(0x060A1C), Hex(0x243A5A), Hex(0xDDE6FF), 0.75, 0.2, 0.04, Hex(0x8090B0),
                        Hex(0x1C2A3A), Hex(0x04080A), 0.6, true, 0, 0x916};
    paint::InRect(cr, asset::MENU_BACKDROP, [&] { DrawScene(cr, asset::MENU_BACKDROP.width, asset::MENU_BACKDROP.height, dusk); });
    paint::InRect(cr, asset::LOADING_BACKDROP, [&] { DrawScene(cr, asset::LOADING_BACKDROP.width, asset::LOADING_BACKDROP.height, day); });
    paint::InRect(cr, asset::SPARE_BACKDROP, [&] { DrawScene(cr, asset::SPARE_BACKDROP.width, asset::SPARE_BACKDROP.height, night); });
    canvas.Save(share / "texture" / layout.file);
}

}  // namespace assetgen
