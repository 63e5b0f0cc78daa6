// The generated textures: they load, hold a picture at every rectangle the game cuts out, and
// nothing anywhere else.
#include <holder/resource_holder.hpp>
#include <holder/resource_id.hpp>

#include <gtest/gtest.h>

#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/Rect.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using holder::TextureId;

struct Named {
    std::string name;
    sf::IntRect rect;
};

sf::Image Load(TextureId id) {
    sf::Image image;
    EXPECT_TRUE(image.loadFromFile(holder::FileOf(id))) << holder::FileOf(id);
    return image;
}

// Banking frames: 7 widths right, one height down towards -x, two towards +x.
std::vector<Named> WithBanking(const std::string& name, sf::IntRect level) {
    const sf::IntRect minus_x{level.left + 7 * level.width, level.top + level.height, level.width, level.height};
    const sf::IntRect plus_x{level.left + 7 * level.width, level.top + 2 * level.height, level.width, level.height};
    return {{name, level}, {name + " bank -x", minus_x}, {name + " bank +x", plus_x}};
}

std::vector<Named> CharacterRects() {
    std::vector<Named> rects = WithBanking("AlliedHeavy", {16, 16, 32, 48});
    const std::vector<Named> light = WithBanking("AlliedLight", {280, 16, 32, 48});
    rects.insert(rects.end(), light.begin(), light.end());
    rects.push_back({"AlliedBullet", {16, 163, 15, 10}});
    rects.push_back({"Missile", {21, 195, 58, 10}});
    return rects;
}

const std::vector<Named> ENEMY_RECTS = {{"EnemyHeavy", {322, 83, 63, 65}}, {"EnemyLight", {322, 474, 63, 65}}};
const std::vector<Named> PROJECTILE_RECTS = {{"EnemyBullet", {124, 129, 12, 14}},
                                             {"HealthRefill", {271, 226, 12, 12}},
                                             {"MissileRefill", {287, 226, 12, 12}},
                                             {"FireSpread", {365, 224, 16, 16}},
                                             {"FireRate", {349, 224, 16, 16}}};
const std::vector<Named> BACKGROUND_RECTS = {
    {"Menu", {1288, 888, 512, 448}}, {"Loading", {1816, 1152, 256, 256}}, {"Spare", {1288, 192, 512, 512}}};

bool Inside(const sf::Image& image, const sf::IntRect& rect) {
    const sf::Vector2u size = image.getSize();
    return rect.left >= 0 && rect.top >= 0 && rect.left + rect.width <= static_cast<int>(size.x) &&
           rect.top + rect.height <= static_cast<int>(size.y);
}

// Share of the rectangle's pixels that are (nearly) opaque.
double OpaqueShare(const sf::Image& image, const sf::IntRect& rect) {
    int opaque = 0;
    for (int y = rect.top; y < rect.top + rect.height; ++y)
        for (int x = rect.left; x < rect.left + rect.width; ++x)
            opaque += image.getPixel(x, y).a > 200;
    return static_cast<double>(opaque) / (rect.width * rect.height);
}

struct Tone {
    double r = 0, g = 0, b = 0;
};

// Average colour of the visible pixels, weighted by alpha.
Tone MeanColor(const sf::Image& image, const sf::IntRect& rect) {
    Tone sum;
    double weight = 0;
    for (int y = rect.top; y < rect.top + rect.height; ++y) {
        for (int x = rect.left; x < rect.left + rect.width; ++x) {
            const sf::Color c = image.getPixel(x, y);
            const double a = c.a / 255.0;
            sum.r += a * c.r;
            sum.g += a * c.g;
            sum.b += a * c.b;
            weight += a;
        }
    }
    return {sum.r / weight / 255, sum.g / weight / 255, sum.b / weight / 255};
}

double Brightest(const sf::Image& image, const sf::IntRect& rect) {
    double best = 0;
    for (int y = rect.top; y < rect.top + rect.height; ++y) {
        for (int x = rect.left; x < rect.left + rect.width; ++x) {
            const sf::Color c = image.getPixel(x, y);
            if (c.a > 128)
                best = std::max(best, (0.3 * c.r + 0.59 * c.g + 0.11 * c.b) / 255);
        }
    }
    return best;
}

double MeanDifference(const sf::Image& a, const sf::IntRect& ra, const sf::Image& b, const sf::IntRect& rb) {
    double sum = 0;
    for (int y = 0; y < ra.height; ++y) {
        for (int x = 0; x < ra.width; ++x) {
            const sf::Color p = a.getPixel(ra.left + x, ra.top + y), q = b.getPixel(rb.left + x, rb.top + y);
            sum += std::abs(p.r - q.r) + std::abs(p.g - q.g) + std::abs(p.b - q.b) + std::abs(p.a - q.a);
        }
    }
    return sum / (ra.width * ra.height * 4.0);
}

void ExpectPicturesOnlyInRects(TextureId id, const std::vector<Named>& rects) {
    const sf::Image image = Load(id);
    for (const Named& named : rects) {
        ASSERT_TRUE(Inside(image, named.rect)) << named.name;
        EXPECT_GT(OpaqueShare(image, named.rect), 0.08) << named.name;
    }
    int stray = 0;
    for (unsigned y = 0; y < image.getSize().y; ++y) {
        for (unsigned x = 0; x < image.getSize().x; ++x) {
            const bool covered = std::any_of(rects.begin(), rects.end(), [&](const Named& named) {
                return named.rect.contains(static_cast<int>(x), static_cast<int>(y));
            });
            stray += !covered && image.getPixel(x, y).a != 0;
        }
    }
    EXPECT_EQ(stray, 0) << holder::FileOf(id);
}

TEST(TextureAssetsTest, EveryTextureAndTheFontOpenThroughTheGameLoaders) {
    holder::ResourceHolder<sf::Texture, TextureId> textures;
    for (std::size_t i = 0; i < holder::texture_files.size(); ++i) {
        const auto id = static_cast<TextureId>(i);
        EXPECT_NO_THROW(textures.Load(id, holder::FileOf(id)));
    }
    holder::ResourceHolder<sf::Font, holder::FontId> fonts;
    EXPECT_NO_THROW(fonts.Load(holder::FontId::Main, holder::FileOf(holder::FontId::Main)));
}

TEST(TextureAssetsTest, SpriteSheetsHoldPicturesExactlyAtTheirRectangles) {
    ExpectPicturesOnlyInRects(TextureId::Character, CharacterRects());
    ExpectPicturesOnlyInRects(TextureId::Enemy, ENEMY_RECTS);
    ExpectPicturesOnlyInRects(TextureId::Projectile, PROJECTILE_RECTS);
    ExpectPicturesOnlyInRects(TextureId::Background, BACKGROUND_RECTS);
}

TEST(TextureAssetsTest, BackdropsCoverTheirWholeRectangles) {
    const sf::Image image = Load(TextureId::Background);
    for (const Named& named : BACKGROUND_RECTS)
        EXPECT_EQ(OpaqueShare(image, named.rect), 1.0) << named.name;
}

TEST(TextureAssetsTest, FriendAndFoeAreToldApartByColourAndKind) {
    const sf::Image characters = Load(TextureId::Character);
    const sf::Image enemies = Load(TextureId::Enemy);
    for (const Named& ally : CharacterRects()) {
        if (ally.name.rfind("Allied", 0) != 0 || ally.name == "AlliedBullet")
            continue;
        const Tone tone = MeanColor(characters, ally.rect);
        EXPECT_LT(tone.r, std::max(tone.g, tone.b)) << ally.name << " should not read as red";
    }
    for (const Named& enemy : ENEMY_RECTS) {
        const Tone tone = MeanColor(enemies, enemy.rect);
        EXPECT_GT(tone.r, 1.5 * std::max(tone.g, tone.b)) << enemy.name << " should read as red";
    }
    const std::vector<Named> allies = CharacterRects();
    EXPECT_GT(MeanDifference(characters, allies[0].rect, characters, allies[3].rect), 10.0) << "heavy vs light ally";
    EXPECT_GT(MeanDifference(enemies, ENEMY_RECTS[0].rect, enemies, ENEMY_RECTS[1].rect), 10.0) << "heavy vs light enemy";
    // Banking frames really show a different attitude.
    EXPECT_GT(MeanDifference(characters, allies[0].rect, characters, allies[1].rect), 5.0);
    EXPECT_GT(MeanDifference(characters, allies[1].rect, characters, allies[2].rect), 5.0);
}

TEST(TextureAssetsTest, ShotsAreBrightEnoughToGlowAndPickupsDiffer) {
    const sf::Image characters = Load(TextureId::Character);
    const sf::Image projectiles = Load(TextureId::Projectile);
    EXPECT_GT(Brightest(characters, {16, 163, 15, 10}), 0.9);
    EXPECT_GT(Brightest(projectiles, PROJECTILE_RECTS[0].rect), 0.9);
    // The pickups are told apart by colour: their average tones differ pairwise.
    for (std::size_t i = 1; i < PROJECTILE_RECTS.size(); ++i) {
        for (std::size_t j = i + 1; j < PROJECTILE_RECTS.size(); ++j) {
            const Tone a = MeanColor(projectiles, PROJECTILE_RECTS[i].rect);
            const Tone b = MeanColor(projectiles, PROJECTILE_RECTS[j].rect);
            EXPECT_GT(std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b), 0.25)
                << PROJECTILE_RECTS[i].name << " vs " << PROJECTILE_RECTS[j].name;
        }
    }
}

TEST(TextureAssetsTest, ExplosionSheetHasSixteenFramesThatStayInsideTheirCells) {
    const sf::Image image = Load(TextureId::Explosion);
    ASSERT_EQ(image.getSize(), sf::Vector2u(1024, 1024));
    std::vector<double> alpha_sums;
    for (int frame = 0; frame < 16; ++frame) {
        const sf::IntRect cell{(frame % 4) * 256, (frame / 4) * 256, 256, 256};
        double sum = 0;
        int edge = 0;
        for (int y = cell.top; y < cell.top + 256; ++y) {
            for (int x = cell.left; x < cell.left + 256; ++x) {
                const sf::Uint8 a = image.getPixel(x, y).a;
                sum += a;
                const bool border = x == cell.left || y == cell.top || x == cell.left + 255 || y == cell.top + 255;
                edge += border && a != 0;
            }
        }
        alpha_sums.push_back(sum);
        EXPECT_GT(sum, 0.0) << "frame " << frame;
        EXPECT_EQ(edge, 0) << "frame " << frame << " touches its cell's border";
    }
    // It swells first and fades out at the end; the early flash glows near white.
    EXPECT_LT(alpha_sums[0], alpha_sums[4]);
    EXPECT_LT(alpha_sums[15], alpha_sums[8] / 2);
    EXPECT_GT(Brightest(image, {0, 0, 256, 256}), 0.95);
}

TEST(TextureAssetsTest, ButtonLooksDifferClearly) {
    const sf::Image image = Load(TextureId::Button);
    ASSERT_EQ(image.getSize(), sf::Vector2u(200, 150));
    const sf::IntRect normal{0, 0, 200, 50}, selected{0, 50, 200, 50}, pressed{0, 100, 200, 50};
    EXPECT_GT(MeanDifference(image, normal, image, selected), 12.0);
    EXPECT_GT(MeanDifference(image, selected, image, pressed), 12.0);
    EXPECT_GT(MeanDifference(image, normal, image, pressed), 12.0);
}

TEST(TextureAssetsTest, JungleTileWrapsAndStaysDark) {
    const sf::Image image = Load(TextureId::Jungle);
    const sf::Vector2u size = image.getSize();
    ASSERT_GE(size.x, 64u);
    ASSERT_GE(size.y, 64u);
    auto pixel_step = [&](unsigned x0, unsigned y0, unsigned x1, unsigned y1) {
        const sf::Color a = image.getPixel(x0, y0), b = image.getPixel(x1, y1);
        return (std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b)) / 3.0;
    };
    double across_seam_x = 0, inside_x = 0, across_seam_y = 0, inside_y = 0, luminance = 0;
    for (unsigned i = 0; i < size.y; ++i) {
        across_seam_x += pixel_step(size.x - 1, i, 0, i);
        inside_x += pixel_step(size.x / 2 - 1, i, size.x / 2, i);
    }
    for (unsigned i = 0; i < size.x; ++i) {
        across_seam_y += pixel_step(i, size.y - 1, i, 0);
        inside_y += pixel_step(i, size.y / 2 - 1, i, size.y / 2);
    }
    // Across the wrap the picture changes no more than between any two neighbouring rows or columns.
    EXPECT_LT(across_seam_x, 1.5 * inside_x + 2.0 * size.y);
    EXPECT_LT(across_seam_y, 1.5 * inside_y + 2.0 * size.x);
    for (unsigned y = 0; y < size.y; ++y) {
        for (unsigned x = 0; x < size.x; ++x) {
            const sf::Color c = image.getPixel(x, y);
            ASSERT_EQ(c.a, 255);
            luminance += (0.3 * c.r + 0.59 * c.g + 0.11 * c.b) / 255;
        }
    }
    luminance /= size.x * size.y;
    EXPECT_GT(luminance, 0.08);
    EXPECT_LT(luminance, 0.4);
}

TEST(TextureAssetsTest, FinishLineSpansTheWorldAndParticleIsASoftWhiteDisc) {
    const sf::Image finish = Load(TextureId::Finish);
    EXPECT_EQ(finish.getSize().x, 640u);
    EXPECT_EQ(OpaqueShare(finish, {0, 0, 640, static_cast<int>(finish.getSize().y)}), 1.0);

    const sf::Image particle = Load(TextureId::Particle);
    const sf::Vector2u size = particle.getSize();
    const sf::Color centre = particle.getPixel(size.x / 2, size.y / 2);
    EXPECT_GT(centre.a, 200);
    EXPECT_EQ(centre.r, 255);
    EXPECT_EQ(centre.g, 255);
    EXPECT_EQ(centre.b, 255);
    for (unsigned i = 0; i < size.x; ++i) {
        EXPECT_EQ(particle.getPixel(i, 0).a, 0);
        EXPECT_EQ(particle.getPixel(i, size.y - 1).a, 0);
    }
    EXPECT_EQ(particle.getPixel(0, size.y / 2).a, 0);
}

}  // namespace
