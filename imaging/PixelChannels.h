#pragma once
#include "Bitmap.h"

#include <array>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace tavlo::imaging {

// One colour channel of a 16- or 32-bit pixel: where it lies and how to widen
// it to eight bits or narrow eight bits to it.
class Channel {
public:
    Channel() = default;
    explicit Channel(std::uint32_t mask);

    std::uint8_t extract(std::uint32_t pixel) const;
    std::uint32_t insert(std::uint8_t value) const;

private:
    std::uint32_t mask_ = 0;
    int shift_ = 0;
    int bits_ = 0;
};

// True when each mask is one run of set bits (or zero).
bool masksAreContiguous(const ChannelMasks& masks);

// Reads rows of any format as 24-bit blue-green-red.
class PixelReader {
public:
    explicit PixelReader(const Bitmap& bitmap);
    void readRow(int y, std::uint8_t* bgr) const;

private:
    const Bitmap& bitmap_;
    Channel red_, green_, blue_;
    std::array<PaletteEntry, 256> palette_{};  // entries past the stored palette read as black
};

// Writes 24-bit blue-green-red pixels into a row of any format; indexed
// formats take the nearest palette colour.
class PixelWriter {
public:
    PixelWriter(int bitsPerPixel, const std::vector<PaletteEntry>& palette, const ChannelMasks& masks);
    explicit PixelWriter(const Bitmap& format) : PixelWriter(format.bitsPerPixel(), format.palette, format.masks) {}
    // Writes `count` pixels from `bgr` into `row`, starting at pixel `x`.
    void writePixels(std::uint8_t* row, int x, const std::uint8_t* bgr, int count);

private:
    std::uint8_t nearestIndex(std::uint8_t b, std::uint8_t g, std::uint8_t r);

    int bitsPerPixel_;
    Channel red_, green_, blue_;
    std::uint32_t opaque_;  // the alpha bits of a fully opaque pixel, if the format has alpha
    std::vector<PaletteEntry> palette_;
    std::unordered_map<std::uint32_t, std::uint8_t> nearestCache_;  // by 24-bit colour
};

}  // namespace tavlo::imaging
