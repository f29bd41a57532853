#pragma once
#include "Bitmap.h"
#include "RowSink.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace tavlo::imaging {

// What a BMP file's headers say, checked against the file's size.
struct BmpLayout {
    enum Compression : std::uint32_t { Rgb = 0, Rle8 = 1, Rle4 = 2, BitFields = 3, AlphaBitFields = 6 };

    std::int32_t width = 0;
    std::int32_t height = 0;  // always positive; see bottomUp
    bool bottomUp = true;
    int bitsPerPixel = 0;
    std::uint32_t compression = Rgb;
    std::size_t pixelOffset = 0;  // where the pixel data starts in the file
    std::size_t stride = 0;       // bytes per stored row
    std::vector<PaletteEntry> palette;
    ChannelMasks masks;

    bool isUncompressed() const { return compression != Rle8 && compression != Rle4; }
    // Offset in the file of the stored row that holds picture row y (top = 0).
    std::size_t rowOffset(int y) const {
        const int stored = bottomUp ? height - 1 - y : y;
        return pixelOffset + static_cast<std::size_t>(stored) * stride;
    }
};

// Parses and checks the headers; throws ImageError naming what is wrong.
BmpLayout parseBmpLayout(std::span<const std::uint8_t> file);

// Decodes a BMP file of any header kind, depth and compression. The bitmap
// keeps the file's pixel format; RLE pictures become plain 4- or 8-bit ones.
Bitmap readBmp(std::span<const std::uint8_t> file);

// The rows as 24 bits to a sink; only the wanted part is read, or kept.
void decodeBmp(std::span<const std::uint8_t> file, RowSink& sink);

// The headers (file header, info header, masks, palette) that writeBmp puts
// before the rows of a bitmap of this format, stored bottom-up.
std::vector<std::uint8_t> bmpHeaders(int width, int height, int bitsPerPixel, const std::vector<PaletteEntry>& palette,
                                     const ChannelMasks& masks);
inline std::vector<std::uint8_t> bmpHeaders(const Bitmap& b) {
    return bmpHeaders(b.width(), b.height(), b.bitsPerPixel(), b.palette, b.masks);
}

// The whole file, in memory.
std::vector<std::uint8_t> encodeBmp(const Bitmap& bitmap);

// Writes the bitmap as a BMP file in its own pixel format, replacing `path`
// atomically; throws FileError.
void writeBmp(const Bitmap& bitmap, const std::filesystem::path& path);

}  // namespace tavlo::imaging
