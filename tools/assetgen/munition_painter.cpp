#include "munition_painter.hpp"

#include "paint.hpp"

#include <numbers>

namespace assetgen::munition {
namespace {

using paint::Hex;
using paint::Rgb;

// Pickup badge: a rounded square with a lit gradient and a dark rim.
void Badge(cairo_t* cr, double size, const Rgb& color) {
    paint::RoundedRect(cr, 0.6, 0.6, size - 1.2, size - 1.2, size * 0.22);
    cairo_pattern_t* shade = paint::VerticalShade(0, size, paint::Scale(color, 1.35), paint::Scale(color, 0.75));
    cairo_set_source(cr, shade);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(shade);
    paint::Source(cr, paint::Scale(color, 0.35));
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);
}

}  // namespace

void AlliedBullet(cairo_t* cr) {
    // Halo, then a tapered streak brightening to white at the nose.
    paint::Ellipse(cr, 8, 5, 7, 4.6);
    cairo_pattern_t* halo = cairo_pattern_create_radial(10, 5, 0.5, 8, 5, 7);
    cairo_pattern_add_color_stop_rgba(halo, 0, 1.0, 0.85, 0.3, 0.8);
    cairo_pattern_add_color_stop_rgba(halo, 1, 1.0, 0.55, 0.1, 0.0);
    cairo_set_source(cr, halo);
    cairo_fill(cr);
    cairo_pattern_destroy(halo);
    cairo_move_to(cr, 1.5, 5);
    cairo_curve_to(cr, 5, 3.2, 10, 2.9, 12.5, 3.1);
    cairo_curve_to(cr, 14.6, 3.3, 14.6, 6.7, 12.5, 6.9);
    cairo_curve_to(cr, 10, 7.1, 5, 6.8, 1.5, 5);
    cairo_close_path(cr);
    cairo_pattern_t* core = cairo_pattern_create_linear(1.5, 0, 14.5, 0);
    cairo_pattern_add_color_stop_rgba(core, 0, 1.0, 0.7, 0.15, 0.2);
    cairo_pattern_add_color_stop_rgba(core, 0.5, 1.0, 0.9, 0.4, 1.0);
    cairo_pattern_add_color_stop_rgba(core, 1, 1.0, 1.0, 0.92, 1.0);
    cairo_set_source(cr, core);
    cairo_fill(cr);
    cairo_pattern_destroy(core);
}

void Missile(cairo_t* cr) {
    const Rgb fin = Hex(0x5A6470);
    // Exhaust flame behind the nozzle.
    paint::SoftBlob(cr, 3.5, 5, 4.2, Hex(0xFFC060), 0.95);
    // Tail fins, above and below the body.
    for (double side : {-1.0, 1.0}) {
        cairo_move_to(cr, 5.5, 5 + side * 2);
        cairo_line_to(cr, 7.5, 5 + side * 4.7);
        cairo_line_to(cr, 14.5, 5 + side * 4.7);
        cairo_line_to(cr, 17.5, 5 + side * 2);
        cairo_close_path(cr);
        paint::Source(cr, fin);
        cairo_fill(cr);
        cairo_move_to(cr, 31, 5 + side * 2);
        cairo_line_to(cr, 33, 5 + side * 3.6);
        cairo_line_to(cr, 37, 5 + side * 3.6);
        cairo_line_to(cr, 38.5, 5 + side * 2);
        cairo_close_path(cr);
        cairo_fill(cr);
    }
    // Nozzle.
    cairo_rectangle(cr, 3.5, 3, 3, 4);
    paint::Source(cr, Hex(0x2A2A2A));
    cairo_fill(cr);
    // Body: a lit cylinder.
    paint::RoundedRect(cr, 5.5, 2.6, 44, 4.8, 1.2);
    cairo_pattern_t* body = cairo_pattern_create_linear(0, 2.6, 0, 7.4);
    cairo_pattern_add_color_stop_rgb(body, 0, 0.95, 0.96, 0.97);
    cairo_pattern_add_color_stop_rgb(body, 0.45, 0.80, 0.82, 0.85);
    cairo_pattern_add_color_stop_rgb(body, 1, 0.45, 0.47, 0.52);
    cairo_set_source(cr, body);
    cairo_fill(cr);
    cairo_pattern_destroy(body);
    // Yellow band and the red warhead.
    cairo_rectangle(cr, 40, 2.6, 2.2, 4.8);
    paint::Source(cr, Hex(0xE8C030));
    cairo_fill(cr);
    cairo_move_to(cr, 48.5, 2.6);
    cairo_curve_to(cr, 53, 2.6, 56, 3.6, 57.6, 5);
    cairo_curve_to(cr, 56, 6.4, 53, 7.4, 48.5, 7.4);
    cairo_close_path(cr);
    cairo_pattern_t* nose = cairo_pattern_create_linear(0, 2.6, 0, 7.4);
    cairo_pattern_add_color_stop_rgb(nose, 0, 1.0, 0.45, 0.35);
    cairo_pattern_add_color_stop_rgb(nose, 1, 0.55, 0.08, 0.06);
    cairo_set_source(cr, nose);
    cairo_fill(cr);
    cairo_pattern_destroy(nose);
}

void EnemyBullet(cairo_t* cr) {
    // A hot red glow with a faint trail above and a white-pink core leading downwards.
    paint::Ellipse(cr, 6, 6.5, 5.6, 6.8);
    cairo_pattern_t* halo = cairo_pattern_create_radial(6, 8.2, 0.5, 6, 7, 6.8);
    cairo_pattern_add_color_stop_rgba(halo, 0, 1.0, 0.35, 0.25, 0.9);
    cairo_pattern_add_color_stop_rgba(halo, 0.6, 0.95, 0.12, 0.1, 0.45);
    cairo_pattern_add_color_stop_rgba(halo, 1, 0.8, 0.0, 0.05, 0.0);
    cairo_set_source(cr, halo);
    cairo_fill(cr);
    cairo_pattern_destroy(halo);
    paint::Ellipse(cr, 6, 8.4, 2.7, 3.3);
    cairo_pattern_t* core = cairo_pattern_create_radial(6, 9.2, 0.3, 6, 8.4, 3.3);
    cairo_pattern_add_color_stop_rgb(core, 0, 1.0, 1.0, 0.95);
    cairo_pattern_add_color_stop_rgb(core, 1, 1.0, 0.5, 0.45);
    cairo_set_source(cr, core);
    cairo_fill(cr);
    cairo_pattern_destroy(core);
}

void HealthRefill(cairo_t* cr) {
    Badge(cr, 12, Hex(0xD8D8D8));
    cairo_rectangle(cr, 4.6, 2.4, 2.8, 7.2);
    cairo_rectangle(cr, 2.4, 4.6, 7.2, 2.8);
    paint::Source(cr, Hex(0xE01818));
    cairo_fill(cr);
}

void MissileRefill(cairo_t* cr) {
    Badge(cr, 12, Hex(0xE0A820));
    // A dark rocket pointing up, red tip, with fins.
    cairo_move_to(cr, 6, 1.8);
    cairo_curve_to(cr, 7.3, 3, 7.3, 4, 7.3, 4.5);
    cairo_line_to(cr, 7.3, 8.5);
    cairo_line_to(cr, 8.8, 10.3);
    cairo_line_to(cr, 3.2, 10.3);
    cairo_line_to(cr, 4.7, 8.5);
    cairo_line_to(cr, 4.7, 4.5);
    cairo_curve_to(cr, 4.7, 4, 4.7, 3, 6, 1.8);
    cairo_close_path(cr);
    paint::Source(cr, Hex(0x1E2228));
    cairo_fill(cr);
    cairo_move_to(cr, 6, 1.8);
    cairo_curve_to(cr, 7.3, 3, 7.3, 4, 7.3, 4.3);
    cairo_line_to(cr, 4.7, 4.3);
    cairo_curve_to(cr, 4.7, 4, 4.7, 3, 6, 1.8);
    cairo_close_path(cr);
    paint::Source(cr, Hex(0xE02020));
    cairo_fill(cr);
}

void FireSpread(cairo_t* cr) {
    Badge(cr, 16, Hex(0x28A040));
    // Three shots fanning out from the bottom.
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, 1.3);
    paint::Source(cr, Hex(0xF4FFF0));
    for (const auto& [x, y] : {std::pair{3.8, 4.6}, std::pair{8.0, 3.4}, std::pair{12.2, 4.6}}) {
        cairo_move_to(cr, 8, 13);
        cairo_line_to(cr, x, y);
        cairo_stroke(cr);
        cairo_arc(cr, x, y, 1.6, 0, 2 * std::numbers::pi);
        cairo_fill(cr);
    }
}

void FireRate(cairo_t* cr) {
    Badge(cr, 16, Hex(0x3048C8));
    // Lightning bolt.
    cairo_move_to(cr, 10.4, 1.6);
    cairo_line_to(cr, 3.4, 9.2);
    cairo_line_to(cr, 7.4, 9.2);
    cairo_line_to(cr, 5.6, 14.6);
    cairo_line_to(cr, 12.8, 6.4);
    cairo_line_to(cr, 8.8, 6.4);
    cairo_close_path(cr);
    paint::Source(cr, Hex(0xFFE040));
    cairo_fill(cr);
}

}  // namespace assetgen::munition
