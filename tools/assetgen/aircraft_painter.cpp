#include "aircraft_painter.hpp"

#include "paint.hpp"

#include <numbers>

namespace assetgen::aircraft {
namespace {

using paint::Hex;
using paint::Rgb;

constexpr double ALLY_W = 32.0;
constexpr double ALLY_H = 48.0;
constexpr double ENEMY_W = 63.0;
constexpr double ENEMY_H = 65.0;

// Fills the current path with a top-lit gradient and outlines it thinly in a darker tone.
void FillShaded(cairo_t* cr, double y0, double y1, const Rgb& light, const Rgb& dark, const Rgb& outline) {
    cairo_pattern_t* shade = paint::VerticalShade(y0, y1, light, dark);
    cairo_set_source(cr, shade);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(shade);
    paint::Source(cr, outline, 0.9);
    cairo_set_line_width(cr, 0.7);
    cairo_stroke(cr);
}

void Fill(cairo_t* cr, const Rgb& color, double alpha = 1.0) {
    paint::Source(cr, color, alpha);
    cairo_fill(cr);
}

// A glass canopy: dark tinted, with a small highlight towards the top left.
void Canopy(cairo_t* cr, double cx, double cy, double rx, double ry, const Rgb& glass) {
    paint::Ellipse(cr, cx, cy, rx, ry);
    cairo_pattern_t* tint = cairo_pattern_create_radial(cx - rx * 0.4, cy - ry * 0.4, 0.2, cx, cy, ry * 1.2);
    const Rgb bright = paint::Mix(glass, Hex(0xFFFFFF), 0.55);
    cairo_pattern_add_color_stop_rgb(tint, 0, bright.r, bright.g, bright.b);
    cairo_pattern_add_color_stop_rgb(tint, 1, glass.r * 0.5, glass.g * 0.5, glass.b * 0.5);
    cairo_set_source(cr, tint);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(tint);
    paint::Source(cr, Hex(0x101418), 0.8);
    cairo_set_line_width(cr, 0.5);
    cairo_stroke(cr);
}

// A spinning propeller reads as a faint disc with a hub.
void Propeller(cairo_t* cr, double cx, double cy, double radius) {
    paint::Ellipse(cr, cx, cy, radius, radius * 0.24);
    Fill(cr, Hex(0xD8D8D0), 0.35);
    cairo_arc(cr, cx, cy, 1.2, 0, 2 * std::numbers::pi);
    Fill(cr, Hex(0x303030));
}

void AlliedRoundel(cairo_t* cr, double cx, double cy, double r) {
    cairo_arc(cr, cx, cy, r, 0, 2 * std::numbers::pi);
    Fill(cr, Hex(0x1F3F8F));
    cairo_arc(cr, cx, cy, r * 0.5, 0, 2 * std::numbers::pi);
    Fill(cr, Hex(0xEDEDED));
}

void EnemyEmblem(cairo_t* cr, double cx, double cy, double r) {
    cairo_move_to(cr, cx, cy - r);
    cairo_line_to(cr, cx + r, cy);
    cairo_line_to(cr, cx, cy + r);
    cairo_line_to(cr, cx - r, cy);
    cairo_close_path(cr);
    Fill(cr, Hex(0xE0B830));
    cairo_move_to(cr, cx, cy - r * 0.55);
    cairo_line_to(cr, cx + r * 0.55, cy);
    cairo_line_to(cr, cx, cy + r * 0.55);
    cairo_line_to(cr, cx - r * 0.55, cy);
    cairo_close_path(cr);
    Fill(cr, Hex(0x151515));
}

void Glow(cairo_t* cr, double cx, double cy, double r, std::uint32_t color) {
    paint::SoftBlob(cr, cx, cy, r, Hex(color), 0.9);
}

// Twin-boom heavy fighter in olive drab.
void DrawAlliedHeavy(cairo_t* cr) {
    // Lighter than the jungle's greens so it stands out over the canopy.
    const Rgb light = Hex(0xB4C07A), base = Hex(0x7E8C4C), dark = Hex(0x262C14);
    // Tailplane joining the booms.
    paint::RoundedRect(cr, 5.5, 38.5, 21, 5, 2);
    FillShaded(cr, 38.5, 43.5, light, base, dark);
    // Main wing.
    paint::RoundedRect(cr, 0.8, 18, 30.4, 7.5, 3);
    FillShaded(cr, 18, 25.5, light, base, dark);
    // Booms with their engines.
    for (double cx : {9.5, 22.5}) {
        paint::RoundedRect(cr, cx - 2, 12, 4, 33, 2);
        FillShaded(cr, 12, 45, light, base, dark);
        paint::RoundedRect(cr, cx - 3, 6.5, 6, 14, 3);
        FillShaded(cr, 6.5, 20.5, light, paint::Scale(base, 0.85), dark);
        paint::RoundedRect(cr, cx - 0.6, 36, 1.2, 9.5, 0.6);
        Fill(cr, dark);
        Propeller(cr, cx, 6.5, 5.2);
    }
    // Central pod with the cockpit.
    paint::RoundedRect(cr, 12.6, 3, 6.8, 28, 3.4);
    FillShaded(cr, 3, 31, paint::Scale(light, 1.1), base, dark);
    Canopy(cr, 16, 12.5, 2.3, 4.8, Hex(0x6FA8D8));
    // White recognition bands across the booms.
    for (double cx : {9.5, 22.5}) {
        cairo_rectangle(cr, cx - 2, 27.5, 4, 2.2);
        cairo_rectangle(cr, cx - 2, 31.5, 4, 2.2);
        Fill(cr, Hex(0xF0F0E8), 0.9);
    }
    AlliedRoundel(cr, 4.2, 21.7, 2.3);
    AlliedRoundel(cr, 27.8, 21.7, 2.3);
    // Panel lines on the wing.
    paint::Source(cr, dark, 0.5);
    cairo_set_line_width(cr, 0.5);
    cairo_move_to(cr, 1.5, 23.5);
    cairo_line_to(cr, 30.5, 23.5);
    cairo_stroke(cr);
}

// Slim swept-wing jet in blue-grey.
void DrawAlliedLight(cairo_t* cr) {
    const Rgb light = Hex(0xB4C4D2), base = Hex(0x7689A0), dark = Hex(0x36424F);
    // Engine glow behind the tail.
    Glow(cr, 16, 46.5, 3.2, 0xFFB040);
    // Wings and tailplanes, mirrored.
    for (double side : {-1.0, 1.0}) {
        auto x = [side](double offset) { return 16.0 + side * offset; };
        cairo_move_to(cr, x(2.5), 15);
        cairo_line_to(cr, x(14.8), 30.5);
        cairo_line_to(cr, x(14.8), 34);
        cairo_line_to(cr, x(2.5), 32);
        cairo_close_path(cr);
        FillShaded(cr, 15, 34, light, base, dark);
        cairo_move_to(cr, x(2.5), 38);
        cairo_line_to(cr, x(9.5), 44.5);
        cairo_line_to(cr, x(9.5), 47);
        cairo_line_to(cr, x(2.5), 45.5);
        cairo_close_path(cr);
        FillShaded(cr, 38, 47, light, base, dark);
        // Wing tip stripe.
        cairo_move_to(cr, x(12.5), 27.6);
        cairo_line_to(cr, x(14.8), 30.5);
        cairo_line_to(cr, x(14.8), 34);
        cairo_line_to(cr, x(12.5), 33.6);
        cairo_close_path(cr);
        Fill(cr, Hex(0xE8E8E0), 0.85);
        AlliedRoundel(cr, x(8.6), 28.5, 1.9);
    }
    // Fuselage.
    cairo_move_to(cr, 16, 0.8);
    cairo_curve_to(cr, 18.2, 4, 19.2, 10, 19.2, 16);
    cairo_line_to(cr, 19.2, 43);
    cairo_curve_to(cr, 19.2, 46.5, 12.8, 46.5, 12.8, 43);
    cairo_line_to(cr, 12.8, 16);
    cairo_curve_to(cr, 12.8, 10, 13.8, 4, 16, 0.8);
    cairo_close_path(cr);
    FillShaded(cr, 1, 46, paint::Scale(light, 1.08), base, dark);
    // Intakes and spine.
    paint::RoundedRect(cr, 11.6, 17, 1.6, 5, 0.6);
    Fill(cr, Hex(0x1A1F26));
    paint::RoundedRect(cr, 18.8, 17, 1.6, 5, 0.6);
    Fill(cr, Hex(0x1A1F26));
    paint::Source(cr, dark, 0.6);
    cairo_set_line_width(cr, 0.6);
    cairo_move_to(cr, 16, 19);
    cairo_line_to(cr, 16, 42);
    cairo_stroke(cr);
    Canopy(cr, 16, 11.5, 1.9, 4.3, Hex(0x78B8E8));
}

// Four-engined bomber, dark red with black and yellow markings; drawn nose up, turned later.
void DrawEnemyHeavy(cairo_t* cr) {
    const Rgb light = Hex(0x9A3328), base = Hex(0x6A1E18), dark = Hex(0x2A0C0A);
    const double cx = ENEMY_W / 2;
    // Tailplane.
    cairo_move_to(cr, cx - 12, 55.5);
    cairo_line_to(cr, cx + 12, 55.5);
    cairo_line_to(cr, cx + 13, 60.5);
    cairo_line_to(cr, cx - 13, 60.5);
    cairo_close_path(cr);
    FillShaded(cr, 55.5, 60.5, light, base, dark);
    // Wing: long, slightly tapered.
    cairo_move_to(cr, 2.5, 25.5);
    cairo_line_to(cr, cx - 5, 20.5);
    cairo_line_to(cr, cx + 5, 20.5);
    cairo_line_to(cr, ENEMY_W - 2.5, 25.5);
    cairo_curve_to(cr, ENEMY_W - 0.5, 26, ENEMY_W - 0.5, 30.5, ENEMY_W - 2.5, 31);
    cairo_line_to(cr, cx + 5, 35);
    cairo_line_to(cr, cx - 5, 35);
    cairo_line_to(cr, 2.5, 31);
    cairo_curve_to(cr, 0.5, 30.5, 0.5, 26, 2.5, 25.5);
    cairo_close_path(cr);
    FillShaded(cr, 20.5, 35, light, base, dark);
    // Engines hanging forward of the wing.
    for (double ex : {12.5, 22.5, 40.5, 50.5}) {
        paint::RoundedRect(cr, ex - 2.3, 15, 4.6, 17, 2.3);
        FillShaded(cr, 15, 32, paint::Scale(light, 0.95), dark, Hex(0x100404));
        Glow(cr, ex, 33, 1.8, 0xFF7030);
        Propeller(cr, ex, 15, 4.8);
    }
    // Fuselage.
    paint::RoundedRect(cr, cx - 4.8, 3, 9.6, 58, 4.8);
    FillShaded(cr, 3, 61, paint::Scale(light, 1.1), base, dark);
    paint::RoundedRect(cr, cx - 0.6, 50, 1.2, 11, 0.6);
    Fill(cr, dark);
    Canopy(cr, cx, 7.2, 3.4, 3.8, Hex(0x3C6470));
    Canopy(cr, cx, 15, 2.6, 3.2, Hex(0x3C6470));
    cairo_arc(cr, cx, 38, 2.6, 0, 2 * std::numbers::pi);
    Fill(cr, Hex(0x1A1A1A));
    EnemyEmblem(cr, 5.8, 28.2, 2.8);
    EnemyEmblem(cr, ENEMY_W - 5.8, 28.2, 2.8);
}

// Swept-wing interceptor, crimson with dark panels; drawn nose up, turned later.
void DrawEnemyLight(cairo_t* cr) {
    const Rgb light = Hex(0xD04A3A), base = Hex(0xA02A20), dark = Hex(0x3E0E0A);
    const double cx = ENEMY_W / 2;
    Glow(cr, cx, 60.5, 4.0, 0xFF8A30);
    for (double side : {-1.0, 1.0}) {
        auto x = [cx, side](double offset) { return cx + side * offset; };
        // Swept wing.
        cairo_move_to(cr, x(3.5), 19);
        cairo_line_to(cr, x(27.5), 41);
        cairo_line_to(cr, x(27.5), 46.5);
        cairo_line_to(cr, x(3.5), 40);
        cairo_close_path(cr);
        FillShaded(cr, 19, 46.5, light, base, dark);
        // Dark leading-edge panel.
        cairo_move_to(cr, x(3.5), 19);
        cairo_line_to(cr, x(27.5), 41);
        cairo_line_to(cr, x(27.5), 43);
        cairo_line_to(cr, x(3.5), 24);
        cairo_close_path(cr);
        Fill(cr, Hex(0x2A2A2E), 0.8);
        // Tailplane.
        cairo_move_to(cr, x(3.5), 50);
        cairo_line_to(cr, x(13.5), 58);
        cairo_line_to(cr, x(13.5), 61.5);
        cairo_line_to(cr, x(3.5), 58.5);
        cairo_close_path(cr);
        FillShaded(cr, 50, 61.5, light, base, dark);
        EnemyEmblem(cr, x(17.5), 38.5, 2.6);
    }
    // Fuselage.
    cairo_move_to(cr, cx, 2);
    cairo_curve_to(cr, cx + 3, 7, cx + 4, 15, cx + 4, 23);
    cairo_line_to(cr, cx + 4, 56);
    cairo_curve_to(cr, cx + 4, 61, cx - 4, 61, cx - 4, 56);
    cairo_line_to(cr, cx - 4, 23);
    cairo_curve_to(cr, cx - 4, 15, cx - 3, 7, cx, 2);
    cairo_close_path(cr);
    FillShaded(cr, 2, 61, paint::Scale(light, 1.1), base, dark);
    // Twin fins seen edge-on.
    for (double fx : {cx - 2.6, cx + 2.6}) {
        paint::RoundedRect(cr, fx - 0.7, 48, 1.4, 12, 0.7);
        Fill(cr, Hex(0x1A1A1A));
    }
    Canopy(cr, cx, 15.5, 2.2, 5, Hex(0x3C6470));
}

void TurnAround(cairo_t* cr, double w, double h) {
    cairo_translate(cr, w / 2, h / 2);
    cairo_rotate(cr, std::numbers::pi);
    cairo_translate(cr, -w / 2, -h / 2);
}

// Banking: the lower wing is foreshortened and in shade, the raised one catches the light.
template <typename DrawFn>
void DrawBanked(cairo_t* cr, asset::Bank bank, DrawFn&& draw) {
    if (bank == asset::Bank::Level) {
        draw(cr);
        return;
    }
    const bool left_down = bank == asset::Bank::TowardsMinusX;
    const double cx = ALLY_W / 2;
    const double left_scale = left_down ? 0.7 : 0.9;
    const double right_scale = left_down ? 0.9 : 0.7;
    cairo_push_group(cr);
    for (const auto& [x0, scale] : {std::pair{0.0, left_scale}, std::pair{cx, right_scale}}) {
        cairo_save(cr);
        cairo_rectangle(cr, x0, 0, cx, ALLY_H);
        cairo_clip(cr);
        cairo_translate(cr, cx, 0);
        cairo_scale(cr, scale, 1);
        cairo_translate(cr, -cx, 0);
        draw(cr);
        cairo_restore(cr);
    }
    cairo_pattern_t* plane = cairo_pop_group(cr);
    cairo_set_source(cr, plane);
    cairo_paint(cr);
    cairo_pattern_t* shade = cairo_pattern_create_linear(left_down ? 0 : ALLY_W, 0, left_down ? ALLY_W : 0, 0);
    cairo_pattern_add_color_stop_rgba(shade, 0.0, 0, 0, 0, 0.45);
    cairo_pattern_add_color_stop_rgba(shade, 0.5, 0, 0, 0, 0.0);
    cairo_pattern_add_color_stop_rgba(shade, 1.0, 1, 1, 1, 0.18);
    cairo_set_source(cr, shade);
    cairo_mask(cr, plane);
    cairo_pattern_destroy(shade);
    cairo_pattern_destroy(plane);
}

}  // namespace

void AlliedHeavy(cairo_t* cr, asset::Bank bank) { DrawBanked(cr, bank, DrawAlliedHeavy); }

void AlliedLight(cairo_t* cr, asset::Bank bank) { DrawBanked(cr, bank, DrawAlliedLight); }

void EnemyHeavy(cairo_t* cr) {
    TurnAround(cr, ENEMY_W, ENEMY_H);
    DrawEnemyHeavy(cr);
}

void EnemyLight(cairo_t* cr) {
    TurnAround(cr, ENEMY_W, ENEMY_H);
    DrawEnemyLight(cr);
}

}  // namespace assetgen::aircraft
