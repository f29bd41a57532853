// Interlaced pictures with transparency are composited pass by pass; they
// must give exactly what the same rows stored plainly give.
#include "PictureEncoders.h"
#include "PngDecoder.h"

#include <gtest/gtest.h>
#include <png.h>

using namespace tavlo::imaging;
using tavlo::test::Bytes;
using tavlo::test::PngPicture;

namespace {

PngPicture patterned(int width, int height, int colourType, int bitDepth) {
    PngPicture png{width, height, colourType, bitDepth, false, {}};
    const int channels = colourType == PNG_COLOR_TYPE_RGBA ? 4 : colourType == PNG_COLOR_TYPE_GRAY_ALPHA ? 2 : 3;
    const int bytes = (colourType == PNG_COLOR_TYPE_PALETTE ? 1 : channels) * bitDepth / 8;
    for (int y = 0; y < height; ++y) {
        Bytes row;
        for (int i = 0; i < width * bytes; ++i) row.push_back(static_cast<std::uint8_t>(i * 37 + y * 101 + 5));
        png.rows.push_back(row);
    }
    if (colourType == PNG_COLOR_TYPE_PALETTE) {
        for (int i = 0; i < 256; ++i)
            png.paletteRgb.insert(png.paletteRgb.end(), {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i * 3),
                                                         static_cast<std::uint8_t>(255 - i)});
        for (int i = 0; i < 256; ++i) png.transparency.push_back(static_cast<std::uint8_t>(i * 7));
    }
    if (colourType == PNG_COLOR_TYPE_RGB) png.transparency = {0, 5, 0, 42, 0, 79};  // the key of pixel 0
    return png;
}

}  // namespace

TEST(Png, InterlacedPicturesWithAlphaMatchTheSameRowsPlain) {
    const struct {
        const char* name;
        int colourType, bitDepth;
    } kinds[] = {
        {"RGBA", PNG_COLOR_TYPE_RGBA, 8},
        {"RGBA 16", PNG_COLOR_TYPE_RGBA, 16},
        {"gray+alpha", PNG_COLOR_TYPE_GRAY_ALPHA, 8},
        {"palette + tRNS", PNG_COLOR_TYPE_PALETTE, 8},
        {"RGB + tRNS key", PNG_COLOR_TYPE_RGB, 8},
    };
    // Sizes where some of the seven passes are empty, and one where none is.
    const std::pair<int, int> sizes[] = {{1, 1}, {3, 2}, {2, 5}, {13, 11}, {40, 17}};
    for (const auto& kind : kinds) {
        for (const auto& [width, height] : sizes) {
            SCOPED_TRACE(testing::Message() << kind.name << " " << width << " × " << height);
            PngPicture png = patterned(width, height, kind.colourType, kind.bitDepth);
            const Bitmap plain = decodePng(encodePng(png));
            png.interlaced = true;
            const Bitmap interlaced = decodePng(encodePng(png));
            ASSERT_EQ(interlaced.width(), width);
            EXPECT_EQ(interlaced.pixels(), plain.pixels());
        }
    }
}
