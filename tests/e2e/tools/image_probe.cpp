// Measures screenshots for the end-to-end scenarios, region by region, so checks survive art
// changes. Regions are X Y W H in window pixels. Commands:
//   mean FILE X Y W H              mean luminance (0-255)
//   count FILE X Y W H MIN         pixels whose luminance is at least MIN
//   white FILE X Y W H             near-white, unsaturated pixels (texts)
//   centroid FILE X Y W H          centre of the near-white pixels: "X Y N" (N = how many)
//   diff FILE1 FILE2 X Y W H       mean absolute difference per channel (0-255)
//   clusters FILE X Y W H          separate groups of near-white pixels (texts, read-outs): cells
//                                  of 16x16 with a few white pixels, joined when they touch
#include <SFML/Graphics/Image.hpp>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>
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
    Region r{static_cast<unsigned>(std::atoi(argv[0])), static_cast<unsigned>(std::atoi(argv[1])),
             static_cast<unsigned>(std::atoi(argv[2])), static_cast<unsigned>(std::atoi(argv[3]))};
    r.w = std::min(r.w, image.getSize().x - std::min(r.x, image.getSize().x));
    r.h = std::min(r.h, image.getSize().y - std::min(r.y, image.getSize().y));
    return r;
}

void ForEach(const sf::Image& image, Region r, const std::function<void(unsigned, unsigned, sf::Color)>& visit) {
    for (unsigned y = r.y; y < r.y + r.h; ++y)
        for (unsigned x = r.x; x < r.x + r.w; ++x) visit(x, y, image.getPixel(x, y));
}

// Groups of white pixels: a 16-pixel cell holding at least 4 counts as ink; touching cells
// (diagonals too) form one group, so the glyphs of one read-out join while two aircraft apart don't.
int Clusters(const sf::Image& image, Region r) {
    const unsigned cell = 16, columns = (r.w + cell - 1) / cell, rows = (r.h + cell - 1) / cell;
    std::vector<int> ink(columns * rows, 0);
    ForEach(image, r, [&](unsigned x, unsigned y, sf::Color c) {
        if (IsWhite(c)) ++ink[(y - r.y) / cell * columns + (x - r.x) / cell];
    });
    std::vector<bool> seen(ink.size(), false);
    int groups = 0;
    for (unsigned start = 0; start < ink.size(); ++start) {
        if (seen[start] || ink[start] < 4) continue;
        ++groups;
        std::vector<unsigned> open{start};
        seen[start] = true;
        while (!open.empty()) {
            const unsigned at = open.back();
            open.pop_back();
            const int cx = static_cast<int>(at % columns), cy = static_cast<int>(at / columns);
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const int nx = cx + dx, ny = cy + dy;
                    if (nx < 0 || ny < 0 || nx >= static_cast<int>(columns) || ny >= static_cast<int>(rows)) continue;
                    const unsigned next = static_cast<unsigned>(ny) * columns + static_cast<unsigned>(nx);
                    if (seen[next] || ink[next] < 4) continue;
                    seen[next] = true;
                    open.push_back(next);
                }
        }
    }
    return groups;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 7) {
        std::fprintf(stderr, "usage: image_probe mean|count|white|centroid|clusters|diff FILE [FILE2] X Y W H [MIN]\n");
        return 2;
    }
    const std::string command = argv[1];
    const sf::Image image = Load(argv[2]);
    if (command == "diff") {
        const sf::Image other = Load(argv[3]);
        const Region r = ParseRegion(argv + 4, image);
        double total = 0;
        ForEach(image, r, [&](unsigned x, unsigned y, sf::Color c) {
            const sf::Color d = other.getPixel(x, y);
            total += std::abs(c.r - d.r) + std::abs(c.g - d.g) + std::abs(c.b - d.b);
        });
        std::printf("%.2f\n", r.w && r.h ? total / (3.0 * r.w * r.h) : 0.0);
        return 0;
    }
    const Region r = ParseRegion(argv + 3, image);
    if (command == "clusters") {
        std::printf("%d\n", Clusters(image, r));
        return 0;
    }
    double sum = 0, sx = 0, sy = 0;
    long count = 0;
    const float minimum = argc > 7 ? static_cast<float>(std::atof(argv[7])) : 0.f;
    ForEach(image, r, [&](unsigned x, unsigned y, sf::Color c) {
        sum += Luminance(c);
        const bool hit = command == "count" ? Luminance(c) >= minimum : IsWhite(c);
        if (hit) {
            ++count;
            sx += x;
            sy += y;
        }
    });
    if (command == "mean") {
        std::printf("%.0f\n", r.w && r.h ? sum / (r.w * r.h) : 0.0);
    } else if (command == "count" || command == "white") {
        std::printf("%ld\n", count);
    } else if (command == "centroid") {
        std::printf("%.0f %.0f %ld\n", count ? sx / count : -1.0, count ? sy / count : -1.0, count);
    } else {
        std::fprintf(stderr, "image_probe: unknown command %s\n", command.c_str());
        return 2;
    }
    return 0;
}
