#pragma once

#include <cairo.h>

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
    // Writes the picture; throws std::runtime_error when the file cannot be written.
    void Save(const std::filesystem::path& file) const;

private:
    cairo_surface_t* surface;
    cairo_t* cr;
};

}  // namespace assetgen
