#pragma once

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace assetgen {

// An ARGB cairo surface that is written to a PNG file; owns the surface and its context.
class PngCanvas {
public:
    PngCanvas(int width, int height);
    ~PngCanvas();
    PngCanvas(const PngCanvas&) = delete;
    PngCanvas& operator=(const PngCanvas&) = delete;

    cairo_t* Context() const { return cr; }
    cairo_surface_t* Surface() const { return surface; }
    // Sets every pixel from color(x, y), which returns straight (not premultiplied) r, g, b, a in
    // [0, 1] through its four reference arguments.
    template <typename ColorFn>
    void FillPixels(ColorFn&& color);
    // Writes the picture; throws std::runtime_error when the file cannot be written.
    void Save(const std::filesystem::path& file) const;

private:
    cairo_surface_t* surface;
    cairo_t* cr;
};

template <typename ColorFn>
void PngCanvas::FillPixels(ColorFn&& color) {
    cairo_surface_flush(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const int width = cairo_image_surface_get_width(surface);
    const int height = cairo_image_surface_get_height(surface);
    auto to_byte = [](double v) { return static_cast<std::uint32_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255.0)); };
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
        for (int x = 0; x < width; ++x) {
            double r = 0, g = 0, b = 0, a = 1;
            color(x, y, r, g, b, a);
            // Cairo keeps premultiplied alpha in native-endian 32-bit words.
            row[x] = to_byte(a) << 24 | to_byte(r * a) << 16 | to_byte(g * a) << 8 | to_byte(b * a);
        }
    }
    cairo_surface_mark_dirty(surface);
}

}  // namespace assetgen
