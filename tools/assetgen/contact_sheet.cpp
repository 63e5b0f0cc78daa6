#include "contact_sheet.hpp"

#include "png_canvas.hpp"
#include <asset/texture_layout.hpp>

#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <memory>
#include <stdexcept>

namespace assetgen {
namespace {

struct Placement_t {
    const asset::Sheet_t* sheet;
    double x;
    double y;
    double scale;
    int repeat;  // tiles per side
};

constexpr Placement_t PLACEMENTS[] = {
    {&asset::CHARACTER_SHEET, 20, 40, 2.0, 1},  {&asset::PROJECTILE_SHEET, 1130, 40, 2.0, 1},
    {&asset::PARTICLE_SHEET, 1920, 40, 4.0, 1}, {&asset::ENEMY_SHEET, 20, 580, 1.0, 1},
    {&asset::EXPLOSION_SHEET, 440, 580, 0.5, 1}, {&asset::JUNGLE_SHEET, 970, 580, 0.5, 2},
    {&asset::BUTTON_SHEET, 1500, 580, 1.0, 1},  {&asset::FINISH_SHEET, 1500, 780, 1.0, 1},
    {&asset::BACKGROUND_SHEET, 20, 1200, 0.5, 1},
};

struct SurfaceCloser {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};

void Place(cairo_t* cr, const std::filesystem::path& share, const Placement_t& at) {
    const asset::Sheet_t& layout = *at.sheet;
    const std::string file(layout.file);
    const std::string path = (share / "texture" / file).string();
    std::unique_ptr<cairo_surface_t, SurfaceCloser> image(cairo_image_surface_create_from_png(path.c_str()));
    if (cairo_surface_status(image.get()) != CAIRO_STATUS_SUCCESS)
        throw std::runtime_error("cannot read " + path);

    const double w = layout.width * at.scale * at.repeat;
    const double h = layout.height * at.scale * at.repeat;
    // A darker checkerboard under each texture shows where it is transparent.
    cairo_save(cr);
    cairo_rectangle(cr, at.x, at.y, w, h);
    cairo_clip(cr);
    cairo_set_source_rgb(cr, 0.36, 0.36, 0.38);
    cairo_paint(cr);
    cairo_set_source_rgb(cr, 0.42, 0.42, 0.44);
    for (double y = 0; y < h; y += 16)
        for (double x = (static_cast<int>(y / 16) % 2) * 16.0; x < w; x += 32)
            cairo_rectangle(cr, at.x + x, at.y + y, 16, 16);
    cairo_fill(cr);
    for (int ty = 0; ty < at.repeat; ++ty) {
        for (int tx = 0; tx < at.repeat; ++tx) {
            cairo_save(cr);
            cairo_translate(cr, at.x + tx * layout.width * at.scale, at.y + ty * layout.height * at.scale);
            cairo_scale(cr, at.scale, at.scale);
            cairo_set_source_surface(cr, image.get(), 0, 0);
            cairo_pattern_set_filter(cairo_get_source(cr), at.scale >= 2 ? CAIRO_FILTER_NEAREST : CAIRO_FILTER_GOOD);
            cairo_paint(cr);
            cairo_restore(cr);
        }
    }
    cairo_restore(cr);

    cairo_set_line_width(cr, 1.0);
    for (const asset::NamedRect_t& named : layout.rects) {
        cairo_set_source_rgba(cr, 0.2, 1.0, 1.0, 0.8);
        cairo_rectangle(cr, at.x + named.rect.left * at.scale - 0.5, at.y + named.rect.top * at.scale - 0.5,
                        named.rect.width * at.scale + 1, named.rect.height * at.scale + 1);
        cairo_stroke(cr);
    }
    cairo_set_source_rgb(cr, 0.05, 0.05, 0.05);
    cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, 14);
    cairo_move_to(cr, at.x, at.y - 6);
    cairo_show_text(cr, file.c_str());
}

}  // namespace

void WriteContactSheet(const std::filesystem::path& share, const std::filesystem::path& sheet) {
    PngCanvas canvas(2200, 1920);
    cairo_t* cr = canvas.Context();
    cairo_set_source_rgb(cr, 0.55, 0.55, 0.56);
    cairo_paint(cr);
    for (const Placement_t& placement : PLACEMENTS)
        Place(cr, share, placement);
    canvas.Save(sheet);
}

void ReleaseFontCaches() {
    // The labels' font machinery keeps process-wide caches; free them so leak checkers stay quiet.
    cairo_debug_reset_static_data();
    FcFini();
}

}  // namespace assetgen
