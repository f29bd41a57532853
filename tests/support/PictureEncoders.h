#pragma once
#include "Bitmap.h"

#include <cstdint>
#include <string>
#include <vector>

// Encoders for test and benchmark fixtures, made with the same reference
// libraries the program decodes with.
namespace tavlo::test {

using Bytes = std::vector<std::uint8_t>;

enum class JpegColours { YCbCr, Gray, Cmyk, AdobeCmyk };

// `picture` is 24-bit; Gray keeps its green channel, CMYK is derived from it.
Bytes encodeJpeg(const imaging::Bitmap& picture, int quality = 90, bool progressive = false,
                 JpegColours colours = JpegColours::YCbCr);

struct PngPicture {
    int width = 0, height = 0;
    int colourType = 2;  // PNG_COLOR_TYPE_*
    int bitDepth = 8;
    bool interlaced = false;
    std::vector<Bytes> rows;               // packed, as PNG stores them (16-bit samples big-endian)
    std::vector<std::uint8_t> paletteRgb;  // 3 bytes an entry
    Bytes transparency;                    // tRNS: alpha per palette entry, or one 16-bit gray/RGB key (2 or 6 bytes)
};
Bytes encodePng(const PngPicture& picture);

struct GifFrame {
    int left = 0, top = 0, width = 0, height = 0;
    bool interlaced = false;
    int transparentIndex = -1;
    std::vector<std::uint8_t> localColoursRgb;  // empty: use the global table
    Bytes indices;                              // width × height, top-down
};
Bytes encodeGif(int screenWidth, int screenHeight, const std::vector<std::uint8_t>& globalColoursRgb,
                const std::vector<GifFrame>& frames);

// A smooth, detailed 24-bit test picture (gradients and stripes).
imaging::Bitmap gradientPicture(int width, int height, int seed = 0);

// The top left width × height of a 24-bit picture, as a picture of its own.
imaging::Bitmap topLeftOf(const imaging::Bitmap& whole, int width, int height);

}  // namespace tavlo::test
