#include "FittedBackground.h"

#include "Resample.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <stdexcept>

namespace tavlo {
namespace {

using imaging::Bitmap;
using Colour = std::array<std::uint8_t, 3>;  // blue, green, red

std::uint8_t* pixel(Bitmap& picture, int x, int y) {
    return picture.row(y) + 3 * static_cast<std::size_t>(x);
}
const std::uint8_t* pixel(const Bitmap& picture, int x, int y) {
    return picture.row(y) + 3 * static_cast<std::size_t>(x);
}

// The mean colour of the pixels from (x, y), `count` steps of (dx, dy).
Colour meanColour(const Bitmap& picture, int x, int y, int dx, int dy, int count) {
    std::array<std::uint64_t, 3> sum{};
    for (int i = 0; i < count; ++i) {
        const std::uint8_t* p = pixel(picture, x + i * dx, y + i * dy);
        for (int c = 0; c < 3; ++c) sum[static_cast<std::size_t>(c)] += p[c];
    }
    Colour mean{};
    for (std::size_t c = 0; c < 3; ++c) mean[c] = static_cast<std::uint8_t>((sum[c] + count / 2) / count);
    return mean;
}

struct Edges {
    Colour top, bottom, left, right;
    static Edges of(const Bitmap& p) {
        const int w = p.width(), h = p.height();
        return {meanColour(p, 0, 0, 1, 0, w), meanColour(p, 0, h - 1, 1, 0, w), meanColour(p, 0, 0, 0, 1, h),
                meanColour(p, w - 1, 0, 0, 1, h)};
    }
};

// Fills every pixel of `target` outside the rectangle x, y, w × h with the
// colour of the background's edge that faces it: above and below the
// rectangle the top and bottom edges, beside it the left and right.
void fillAround(Bitmap& target, int x, int y, int w, int h, const Edges& edges) {
    for (int row = 0; row < target.height(); ++row) {
        const bool above = row < y, below = row >= y + h;
        for (int column = 0; column < target.width(); ++column) {
            const bool inside = column >= x && column < x + w;
            const Colour* colour = nullptr;
            if (above)
                colour = &edges.top;
            else if (below)
                colour = &edges.bottom;
            else if (column < x)
                colour = &edges.left;
            else if (!inside)
                colour = &edges.right;
            else {
                column = x + w - 1;  // skip the rectangle
                continue;
            }
            std::memcpy(pixel(target, column, row), colour->data(), 3);
        }
    }
}

// `source` scaled to scaledW × scaledH, of which the part from (cropX,
// cropY) lands at (atX, atY) of `target`, as much as fits.
void drawScaled(const Bitmap& source, int scaledW, int scaledH, Bitmap& target, int atX, int atY, int cropX,
                int cropY) {
    imaging::Resampler scaled(source, scaledW, scaledH);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(scaledW) * 3);
    const int width = std::min(scaledW - cropX, target.width() - atX);
    const int height = std::min(scaledH - cropY, target.height() - atY);
    for (int y = 0; y < height; ++y) {
        scaled.row(cropY + y, row.data());
        std::memcpy(pixel(target, atX, atY + y), row.data() + 3 * static_cast<std::size_t>(cropX),
                    3 * static_cast<std::size_t>(width));
    }
}

// `source` at its own size with its top-left pixel at (x, y), clipped.
void drawAt(const Bitmap& source, Bitmap& target, int x, int y) {
    const int firstColumn = std::max(0, x), lastColumn = std::min(target.width(), x + source.width());
    const int firstRow = std::max(0, y), lastRow = std::min(target.height(), y + source.height());
    if (firstColumn >= lastColumn) return;
    for (int row = firstRow; row < lastRow; ++row)
        std::memcpy(pixel(target, firstColumn, row), pixel(source, firstColumn - x, row - y),
                    3 * static_cast<std::size_t>(lastColumn - firstColumn));
}

int scaledSize(int size, double factor) {
    return std::max(1, static_cast<int>(std::lround(size * factor)));
}

}  // namespace

Bitmap fitBackground(const Bitmap& background, int width, int height, FitMode mode) {
    if (background.bitsPerPixel() != 24 || background.empty() || width <= 0 || height <= 0)
        throw std::invalid_argument("fitBackground needs a 24-bit background and a target size");
    Bitmap target(width, height, 24);
    const int bw = background.width(), bh = background.height();
    if (bw == width && bh == height) {
        for (int y = 0; y < height; ++y)
            std::memcpy(target.row(y), background.row(y), 3 * static_cast<std::size_t>(width));
        return target;
    }
    switch (mode) {
    case FitMode::Stretch: drawScaled(background, width, height, target, 0, 0, 0, 0); break;
    case FitMode::Fill: {
        const double factor = std::max(static_cast<double>(width) / bw, static_cast<double>(height) / bh);
        const int sw = std::max(width, scaledSize(bw, factor)), sh = std::max(height, scaledSize(bh, factor));
        drawScaled(background, sw, sh, target, 0, 0, (sw - width) / 2, (sh - height) / 2);
        break;
    }
    case FitMode::Fit: {
        const double factor = std::min(static_cast<double>(width) / bw, static_cast<double>(height) / bh);
        const int sw = std::min(width, scaledSize(bw, factor)), sh = std::min(height, scaledSize(bh, factor));
        const int x = (width - sw) / 2, y = (height - sh) / 2;
        fillAround(target, x, y, sw, sh, Edges::of(background));
        drawScaled(background, sw, sh, target, x, y, 0, 0);
        break;
    }
    case FitMode::Center: {
        const int x = (width - bw) / 2, y = (height - bh) / 2;
        fillAround(target, std::max(0, x), std::max(0, y), std::min(width, bw), std::min(height, bh),
                   Edges::of(background));
        drawAt(background, target, x, y);
        break;
    }
    case FitMode::Tile:
        for (int y = 0; y < height; y += bh)
            for (int x = 0; x < width; x += bw) drawAt(background, target, x, y);
        break;
    }
    return target;
}

}  // namespace tavlo
