#pragma once

#include <asset/texture_layout.hpp>

#include <cairo.h>

#include <cstdint>

namespace assetgen::paint {

struct Rgb {
    double r;
    double g;
    double b;
};

// 0xRRGGBB.
Rgb Hex(std::uint32_t rgb);
Rgb Mix(const Rgb& a, const Rgb& b, double t);
Rgb Scale(const Rgb& c, double factor);

void Source(cairo_t* cr, const Rgb& c, double alpha = 1.0);
void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r);
void Ellipse(cairo_t* cr, double cx, double cy, double rx, double ry);
// A radial blob fading from `inner` at the centre to transparent at radius r.
void SoftBlob(cairo_t* cr, double cx, double cy, double r, const Rgb& inner, double alpha);
// Vertical gradient over a path, lit from the top.
cairo_pattern_t* VerticalShade(double y0, double y1, const Rgb& top, const Rgb& bottom);

// Runs `draw` translated to the rectangle's corner and clipped to it, so nothing spills out.
template <typename DrawFn>
void InRect(cairo_t* cr, const asset::Rect_t& rect, DrawFn&& draw) {
    cairo_save(cr);
    cairo_rectangle(cr, rect.left, rect.top, rect.width, rect.height);
    cairo_clip(cr);
    cairo_translate(cr, rect.left, rect.top);
    draw();
    cairo_restore(cr);
}

}  // namespace assetgen::paint
