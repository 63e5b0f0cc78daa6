#include "png_canvas.hpp"

#include <stdexcept>

namespace assetgen {

PngCanvas::PngCanvas(int width, int height)
    : surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)), cr(cairo_create(surface)) {}

PngCanvas::~PngCanvas() {
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
}

void PngCanvas::Save(const std::filesystem::path& file) const {
    std::filesystem::create_directories(file.parent_path());
    cairo_surface_flush(surface);
    if (cairo_surface_write_to_png(surface, file.string().c_str()) != CAIRO_STATUS_SUCCESS)
        throw std::runtime_error("cannot write " + file.string());
}

}  // namespace assetgen
