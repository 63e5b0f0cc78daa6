// Measures screenshots for the end-to-end scenarios, region by region, so checks survive art
// changes. Regions are X Y W H in window pixels. Commands:
//   mean FILE X Y W H              mean luminance (0-255)
//   count FILE X Y W H MIN         pixels whose luminance is at least MIN
//   white FILE X Y W H             near-white, unsaturated pixels (texts)
//   diff FILE1 FILE2 X Y W H       mean absolute difference per channel (0-255)
#include <SFML/Graphics/Image.hpp>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

struct Region {
    unsigned x, y, w, h;
};

float Luminance(sf::Color c) { return 0.299f * c.r + 0.587f * c.g + 0.114f * c.b; }

bool IsWhite(sf::Color c) {
    const int low = std::min({c.r, c.g, c.b});
    const int high = std::max({c.r, c.g, c.b});
    return low >= 215 && high - low <= 30;
}

sf::Image Load(const char* file) {
    sf::Image image;
    if (!image.loadFromFile(file)) {
        std::fprintf(stderr, "image_probe: cannot read %s\n", file);
        std::exit(2);
    }
    return image;
}

Region ParseRegion(char** argv, const sf::Image& image) {
    const sf::Vector2u size = image.getSize();
    Region r{static_cast<unsigned>(std::atoi(argv[0])), static_cast<unsigned>(std::atoi(argv[1])),
             static_cast<unsigned>(std::atoi(argv[2])), static_cast<unsigned>(std::atoi(argv[3]))};
    r.x = std::min(r.x, size.x);
    r.y = std::min(r.y, size.y);
    r.w = std::min(r.w, size.x - r.x);
    r.h = std::min(r.h, size.y - r.y);
    return r;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    const int region_at = command == "diff" ? 4 : 3;
    if (argc < region_at + 4) {
        std::fprintf(stderr, "usage: image_probe mean|count|white|diff FILE [FILE2] X Y W H [MIN]\n");
        return 2;
    }
    const sf::Image image = Load(argv[2]);
    const sf::Image other = command == "diff" ? Load(argv[3]) : image;
    const Region r = ParseRegion(argv + region_at, image);
    const float minimum = argc > 7 ? static_cast<float>(std::atof(argv[7])) : 0.f;
    double sum = 0;
    long count = 0;
    for (unsigned y = r.y; y < r.y + r.h; ++y)
        for (unsigned x = r.x; x < r.x + r.w; ++x) {
            const sf::Color c = image.getPixel(x, y), d = other.getPixel(x, y);
            sum += command == "diff" ? (std::abs(c.r - d.r) + std::abs(c.g - d.g) + std::abs(c.b - d.b)) / 3.0 : Luminance(c);
            count += command == "count" ? Luminance(c) >= minimum : IsWhite(c);
        }
    const double pixels = std::max(1.0, static_cast<double>(r.w) * r.h);
    if (command == "mean") std::printf("%.0f\n", sum / pixels);
    else if (command == "diff") std::printf("%.2f\n", sum / pixels);
    else if (command == "count" || command == "white") std::printf("%ld\n", count);
    else {
        std::fprintf(stderr, "image_probe: unknown command %s\n", command.c_str());
        return 2;
    }
    return 0;
}
