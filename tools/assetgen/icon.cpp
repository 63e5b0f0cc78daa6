#include "icon.hpp"

#include "paint.hpp"
#include "png_canvas.hpp"

#include <cmath>
#include <numbers>

namespace assetgen {

namespace {

constexpr int size = 128;

void Sky(cairo_t* cr) {
    paint::RoundedRect(cr, 2, 2, size - 4, size - 4, 24);
    cairo_pattern_t* shade = paint::VerticalShade(0, size, paint::Hex(0x2b5d7a), paint::Hex(0x173a26));
    cairo_set_source(cr, shade);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(shade);
    paint::Source(cr, paint::Hex(0x0c1a12));
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
}

// A row of treetops along the bottom edge, clipped to the rounded square.
void Canopy(cairo_t* cr) {
    cairo_save(cr);
    paint::RoundedRect(cr, 3.5, 3.5, size - 7, size - 7, 22.5);
    cairo_clip(cr);
    for (int i = 0; i < 7; ++i) {
        const double x = 4 + i * 20.0, y = 112 + 6 * std::sin(i * 1.7);
        paint::Source(cr, paint::Mix(paint::Hex(0x1e6b2c), paint::Hex(0x2f8a3a), (i % 3) / 2.0));
        cairo_arc(cr, x, y, 16, 0, 2 * std::numbers::pi);
        cairo_fill(cr);
    }
    cairo_restore(cr);
}

// The jet seen from above, nose up; x mirrored about the centre line.
void Jet(cairo_t* cr) {
    const double c = size / 2.0;
    auto mirrored = [&](std::initializer_list<std::pair<double, double>> half) {
        cairo_new_path(cr);
        for (const auto& [x, y] : half) cairo_line_to(cr, c + x, y);
        for (auto it = std::rbegin(half); it != std::rend(half); ++it) cairo_line_to(cr, c - it->first, it->second);
        cairo_close_path(cr);
    };
    paint::SoftBlob(cr, c, 104, 18, paint::Hex(0xffa030), 0.9);
    // Wings and tail, then the body over them.
    mirrored({{0, 52}, {46, 78}, {46, 86}, {8, 78}, {8, 92}, {22, 102}, {22, 108}, {0, 104}});
    cairo_pattern_t* metal = paint::VerticalShade(40, 110, paint::Hex(0xd8dee6), paint::Hex(0x7d8896));
    cairo_set_source(cr, metal);
    cairo_fill_preserve(cr);
    paint::Source(cr, paint::Hex(0x2a3038));
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    mirrored({{0, 12}, {5, 28}, {8, 50}, {8, 100}, {0, 106}});
    cairo_set_source(cr, metal);
    cairo_fill_preserve(cr);
    paint::Source(cr, paint::Hex(0x2a3038));
    cairo_stroke(cr);
    cairo_pattern_destroy(metal);
    paint::Ellipse(cr, c, 40, 4, 9);
    paint::Source(cr, paint::Hex(0x3aa0e0));
    cairo_fill(cr);
    // Two shots leaving the wings.
    for (const double x : {c - 30, c + 30}) paint::SoftBlob(cr, x, 50, 7, paint::Hex(0xfff070), 1.0);
}

}  // namespace

void MakeIcon(const std::filesystem::path& share) {
    PngCanvas canvas(size, size);
    cairo_t* cr = canvas.Context();
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    cairo_paint(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    Sky(cr);
    Canopy(cr);
    Jet(cr);
    canvas.Save(share / "icon.png");
}

}  // namespace assetgen
