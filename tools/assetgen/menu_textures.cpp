#include "menu_textures.hpp"

#include "png_canvas.hpp"

#include <cmath>

namespace assetgen {
namespace {

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

void ButtonLook(cairo_t* cr, double top, double r, double g, double b, double rim) {
    cairo_pattern_t* fill = cairo_pattern_create_linear(0, top, 0, top + 50);
    cairo_pattern_add_color_stop_rgb(fill, 0, r * 1.3, g * 1.3, b * 1.3);
    cairo_pattern_add_color_stop_rgb(fill, 1, r * 0.7, g * 0.7, b * 0.7);
    RoundedRect(cr, 2, top + 2, 196, 46, 9);
    cairo_set_source(cr, fill);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(fill);
    cairo_set_line_width(cr, 2.5);
    cairo_set_source_rgb(cr, rim, rim, rim * 0.9);
    cairo_stroke(cr);
}

}  // namespace

void MakeButtonTexture(const std::filesystem::path& share) {
    PngCanvas canvas(200, 150);
    cairo_t* cr = canvas.Context();
    ButtonLook(cr, 0, 0.18, 0.32, 0.22, 0.55);
    ButtonLook(cr, 50, 0.30, 0.55, 0.30, 0.95);
    ButtonLook(cr, 100, 0.55, 0.42, 0.12, 1.0);
    canvas.Save(share / "texture" / "button.png");
}

void MakeBackgroundTexture(const std::filesystem::path& share) {
    PngCanvas canvas(2072, 1408);
    cairo_t* cr = canvas.Context();
    cairo_pattern_t* sky = cairo_pattern_create_linear(0, 0, 0, 1408);
    cairo_pattern_add_color_stop_rgb(sky, 0, 0.05, 0.10, 0.16);
    cairo_pattern_add_color_stop_rgb(sky, 1, 0.08, 0.22, 0.14);
    cairo_set_source(cr, sky);
    cairo_paint(cr);
    cairo_pattern_destroy(sky);
    canvas.Save(share / "texture" / "background.png");
}

}  // namespace assetgen
