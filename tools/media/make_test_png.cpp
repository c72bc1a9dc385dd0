// Draws the Duskify demo's background picture "test.png": a 640 x 480 evening landscape (sky
// gradient, sun, two mountain ranges, a lake with reflections, a few houses with lit windows),
// made the same every time from this source.
//   make_test_png OUTPUT.png
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>
#include "graphics2d/PngWriter.h"

namespace {

constexpr int width = 640, height = 480, horizon = 300;

struct Colour {
    double r, g, b;
};

Colour mix(Colour a, Colour b, double t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }

double ridge(double x, double base, double amplitude, double seed) {
    return base - amplitude * (0.55 * std::sin(x * 0.011 + seed) + 0.3 * std::sin(x * 0.027 + seed * 2.3) +
                               0.15 * std::sin(x * 0.073 + seed * 5.1));
}

Colour sky(int x, int y) {
    const Colour top{40, 70, 160}, middle{120, 170, 230}, low{250, 210, 150};
    const double t = double(y) / horizon;
    Colour c = t < 0.6 ? mix(top, middle, t / 0.6) : mix(middle, low, (t - 0.6) / 0.4);
    const double dx = x - 470.0, dy = y - 220.0, distance = std::sqrt(dx * dx + dy * dy);
    if (distance < 38) return {255, 240, 190};                              // the sun
    if (distance < 120) c = mix(c, Colour{255, 225, 170}, (120 - distance) / 200.0);  // its glow
    return c;
}

Colour landscape(int x, int y) {
    if (y < ridge(x, 235, 55, 1.0)) return sky(x, y);
    if (y < ridge(x, 275, 35, 4.0)) return mix(Colour{90, 110, 150}, Colour{70, 90, 120}, (y - 180) / 100.0);
    if (y <= horizon) return {50, 90, 60};                                  // the near shore
    const int mirrored = 2 * horizon - y;                                   // the lake
    Colour reflected = mirrored >= 0 ? landscape(x, mirrored) : Colour{40, 70, 160};
    const double ripple = 0.85 + 0.15 * std::sin(y * 0.9 + x * 0.05);
    return mix(Colour{20, 50, 90}, reflected, 0.6 * ripple);
}

Colour withHouses(int x, int y, Colour c) {
    for (int house = 0; house < 4; ++house) {
        const int left = 60 + house * 55, top = 268 - (house % 2) * 6;
        if (x < left || x >= left + 36 || y < top || y >= horizon) continue;
        const bool window = (x - left) % 12 >= 4 && (x - left) % 12 < 9 && y >= top + 8 && y < top + 16;
        return window ? Colour{255, 200, 90} : Colour{110, 60, 50};
    }
    return c;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_test_png OUTPUT.png\n");
        return 2;
    }
    std::vector<std::uint8_t> rgba(std::size_t(width) * height * 4);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Colour c = withHouses(x, y, landscape(x, y));
            std::uint8_t* p = &rgba[(std::size_t(y) * width + std::size_t(x)) * 4];
            p[0] = std::uint8_t(std::lround(std::fmin(std::fmax(c.r, 0), 255)));
            p[1] = std::uint8_t(std::lround(std::fmin(std::fmax(c.g, 0), 255)));
            p[2] = std::uint8_t(std::lround(std::fmin(std::fmax(c.b, 0), 255)));
            p[3] = 255;
        }
    }
    if (!tarvoke::writePngFile(argv[1], width, height, rgba.data())) {
        std::fprintf(stderr, "make_test_png: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
