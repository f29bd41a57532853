// Draws the built-in background "A1.bmp": a calm sky over rolling hills,
// 1920 × 1080, 24 bits. Run at build time: tavlo_make_background OUTPUT.bmp
#include "Bitmap.h"
#include "BmpFormat.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>

namespace {

using tavlo::imaging::Bitmap;

struct Rgb {
    double r, g, b;
};

Rgb mix(Rgb a, Rgb b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

double smooth(double edge0, double edge1, double x) {
    const double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

// Height of a hill line at x, as a fraction of the picture height.
double hill(double x, double base, double amplitude, double phase, double wavelength) {
    return base - amplitude * std::sin(x / wavelength + phase) -
           0.35 * amplitude * std::sin(x / (0.43 * wavelength) + 2 * phase);
}

Rgb pixelAt(int x, int y, int width, int height) {
    const double u = static_cast<double>(x) / width;
    const double v = static_cast<double>(y) / height;
    Rgb colour = mix(Rgb{92, 152, 222}, Rgb{214, 232, 250}, v / 0.62);

    // A soft sun glow, upper left.
    const double dx = u - 0.22, dy = (v - 0.24) * height / width;
    const double glow = std::exp(-(dx * dx + dy * dy) / 0.012);
    colour = mix(colour, Rgb{255, 246, 222}, glow * 0.85);

    const struct {
        double base, amplitude, phase, wavelength;
        Rgb colour;
    } layers[] = {
        {0.62, 0.035, 0.4, 0.11, {150, 192, 168}},
        {0.71, 0.045, 1.7, 0.16, {104, 162, 122}},
        {0.82, 0.05, 3.1, 0.21, {66, 128, 88}},
    };
    for (const auto& layer : layers) {
        const double line = hill(u, layer.base, layer.amplitude, layer.phase, layer.wavelength);
        if (v >= line) {
            const double depth = smooth(line, line + 0.25, v);
            colour = mix(layer.colour, Rgb{layer.colour.r * 0.7, layer.colour.g * 0.78, layer.colour.b * 0.7}, depth);
        } else {
            // A faint haze just above each ridge.
            colour = mix(colour, layer.colour, 0.25 * (1 - smooth(0, 0.004, line - v)));
        }
    }
    return colour;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.bmp\n", argv[0]);
        return 2;
    }
    const int width = 1920, height = 1080;
    Bitmap bitmap(width, height, 24);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = bitmap.row(y);
        for (int x = 0; x < width; ++x) {
            const Rgb c = pixelAt(x, y, width, height);
            row[3 * x + 0] = static_cast<std::uint8_t>(std::lround(std::clamp(c.b, 0.0, 255.0)));
            row[3 * x + 1] = static_cast<std::uint8_t>(std::lround(std::clamp(c.g, 0.0, 255.0)));
            row[3 * x + 2] = static_cast<std::uint8_t>(std::lround(std::clamp(c.r, 0.0, 255.0)));
        }
    }
    try {
        tavlo::imaging::writeBmp(bitmap, argv[1]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
