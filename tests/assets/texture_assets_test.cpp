// The generated textures against the layout the game cuts them by: every picture where the layout
// says and nothing elsewhere, pictures that can be told apart, and edges where the game needs them.
#include <asset/texture_layout.hpp>

#include <gtest/gtest.h>

#include <SFML/Graphics/Image.hpp>

#include <algorithm>
#include <cmath>
#include <string>

namespace {

using asset::NamedRect_t;
using asset::Rect_t;
using asset::Sheet_t;

sf::Image Load(const Sheet_t& sheet) {
    sf::Image image;
    EXPECT_TRUE(image.loadFromFile(std::string(KIRROW_SHARE_DIR "/texture/") + std::string(sheet.file))) << sheet.file;
    return image;
}

template <typename PixelFn>
void ForEachPixel(const sf::Image& image, const Rect_t& rect, PixelFn&& visit) {
    for (int y = rect.top; y < rect.top + rect.height; ++y)
        for (int x = rect.left; x < rect.left + rect.width; ++x)
            visit(x, y, image.getPixel(static_cast<unsigned>(x), static_cast<unsigned>(y)));
}

// Share of the rectangle's pixels whose alpha exceeds `alpha`.
double Coverage(const sf::Image& image, const Rect_t& rect, int alpha) {
    int count = 0;
    ForEachPixel(image, rect, [&](int, int, sf::Color c) { count += c.a > alpha; });
    return count / static_cast<double>(rect.width * rect.height);
}

// Mean difference per channel of two rectangles of one size.
double Difference(const sf::Image& image, const Rect_t& a, const Rect_t& b) {
    double sum = 0;
    ForEachPixel(image, a, [&](int x, int y, sf::Color p) {
        const sf::Color q = image.getPixel(static_cast<unsigned>(x - a.left + b.left), static_cast<unsigned>(y - a.top + b.top));
        sum += std::abs(p.r - q.r) + std::abs(p.g - q.g) + std::abs(p.b - q.b) + std::abs(p.a - q.a);
    });
    return sum / (a.width * a.height * 4.0);
}

double Luminance(sf::Color c) { return (0.3 * c.r + 0.59 * c.g + 0.11 * c.b) / 255; }

bool Overlap(const Rect_t& a, const Rect_t& b) {
    return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height && b.top < a.top + a.height;
}

// Ground, finish and backdrops also cover their rectangles whole; explosions and particles fade out
// before their edges, so that no frame is cut off.
TEST(TextureAssetsTest, EverySheetHoldsDistinctPicturesExactlyAtItsRectanglesOpaqueOrFadingOut) {
    for (const Sheet_t& sheet : asset::SHEETS) {
        const sf::Image image = Load(sheet);
        const auto one_of = [&](const auto&... sheets) { return ((sheet.file == sheets.file) || ...); };
        const bool opaque = one_of(asset::JUNGLE_SHEET, asset::FINISH_SHEET, asset::BACKGROUND_SHEET);
        const bool fading = one_of(asset::EXPLOSION_SHEET, asset::PARTICLE_SHEET);
        ASSERT_EQ(image.getSize(), sf::Vector2u(static_cast<unsigned>(sheet.width), static_cast<unsigned>(sheet.height)))
            << sheet.file;
        for (std::size_t i = 0; i < sheet.rects.size(); ++i) {
            const Rect_t& r = sheet.rects[i].rect;
            ASSERT_TRUE(r.left >= 0 && r.top >= 0 && r.left + r.width <= sheet.width && r.top + r.height <= sheet.height)
                << sheet.file << " " << i;
            EXPECT_GT(Coverage(image, r, 32), 0.03) << sheet.file << " " << sheet.rects[i].name << " " << i << " is empty";
            EXPECT_TRUE(!opaque || Coverage(image, r, 254) == 1.0) << sheet.file << " " << i << " is not opaque";
            int edge = 0;
            ForEachPixel(image, r, [&](int x, int y, sf::Color c) {
                edge += c.a != 0 && (x == r.left || y == r.top || x == r.left + r.width - 1 || y == r.top + r.height - 1);
            });
            EXPECT_TRUE(!fading || edge == 0) << sheet.file << " " << i << " is cut off at its edge";
            // Pictures do not overlap, and those of one size are different pictures: frames, attitudes, looks.
            for (std::size_t j = 0; j < i; ++j) {
                const Rect_t& other = sheet.rects[j].rect;
                EXPECT_FALSE(Overlap(other, r)) << sheet.file << " " << j << " and " << i << " overlap";
                if (other.width != r.width || other.height != r.height) continue;
                EXPECT_GT(Difference(image, other, r), 2.0) << sheet.file << " " << j << " vs " << i;
            }
        }
        int stray = 0;
        ForEachPixel(image, {0, 0, sheet.width, sheet.height}, [&](int x, int y, sf::Color c) {
            stray += c.a != 0 && std::none_of(sheet.rects.begin(), sheet.rects.end(), [&](const NamedRect_t& named) {
                const Rect_t& r = named.rect;
                return r.left <= x && x < r.left + r.width && r.top <= y && y < r.top + r.height;
            });
        });
        EXPECT_EQ(stray, 0) << sheet.file << " has pixels outside its rectangles";
    }
}

// The flash and the shots are near white, bright enough for the bloom to make them glow; the
// particle is white, so that it takes its type's colour.
TEST(TextureAssetsTest, ShotsAndTheFlashGlowAndParticlesTakeTheirTint) {
    const std::pair<const Sheet_t*, Rect_t> glowing[] = {{&asset::EXPLOSION_SHEET, asset::ExplosionFrame(0)},
                                                         {&asset::CHARACTER_SHEET, asset::ALLIED_BULLET},
                                                         {&asset::PROJECTILE_SHEET, asset::ENEMY_BULLET}};
    for (const auto& [sheet, rect] : glowing) {
        double brightest = 0;
        ForEachPixel(Load(*sheet), rect, [&](int, int, sf::Color c) { brightest = std::max(brightest, Luminance(c)); });
        EXPECT_GT(brightest, 0.9) << sheet->file;
    }
    const sf::Color centre = Load(asset::PARTICLE_SHEET).getPixel(asset::PARTICLE_SIZE / 2, asset::PARTICLE_SIZE / 2);
    EXPECT_EQ(centre, sf::Color(255, 255, 255, centre.a));
    EXPECT_GT(centre.a, 200);
}

// Across the wrap the ground changes no more than between two neighbouring columns or rows.
TEST(TextureAssetsTest, JungleTileWrapsWithoutSeam) {
    const sf::Image image = Load(asset::JUNGLE_SHEET);
    const unsigned size = asset::JUNGLE_TILE;
    for (const bool columns : {true, false}) {
        const auto step = [&](unsigned a, unsigned b) {  // summed along the two lines
            double sum = 0;
            for (unsigned i = 0; i < size; ++i)
                sum += std::abs(columns ? Luminance(image.getPixel(a, i)) - Luminance(image.getPixel(b, i))
                                        : Luminance(image.getPixel(i, a)) - Luminance(image.getPixel(i, b)));
            return sum;
        };
        EXPECT_LT(step(size - 1, 0), 1.5 * step(size / 2 - 1, size / 2) + 0.01 * size) << columns;
    }
}

}  // namespace
