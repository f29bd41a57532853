// Decoding to rows: the top-left part a sink keeps, and a BMP file written
// row by row, hold exactly the pixels of the whole decoded picture, whatever
// order the format hands its rows in.
#include "AtomicFile.h"
#include "BmpFormat.h"
#include "ByteReader.h"
#include "MappedFile.h"
#include "Picture.h"
#include "PictureEncoders.h"
#include "TempFolder.h"

#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cstring>

using namespace tavlo;
using namespace tavlo::imaging;
using test::Bytes;

namespace {

constexpr int kWidth = 37, kHeight = 23;

Bytes indexedBmp() {
    Bitmap b(kWidth, kHeight, 8);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) b.row(y)[x] = static_cast<std::uint8_t>((x * 7 + y * 3) % 256);
    return encodeBmp(b);
}

// Run-length lines of changing colour, stored bottom-up, ended by the
// end-of-picture code.
Bytes runLengthBmp() {
    Bytes data;
    for (int line = 0; line < kHeight; ++line) {
        data.insert(data.end(), {20, static_cast<std::uint8_t>(line), static_cast<std::uint8_t>(kWidth - 20),
                                 static_cast<std::uint8_t>(100 + line), 0, 0});
    }
    data.insert(data.end(), {0, 1});
    std::vector<PaletteEntry> palette(256);
    for (int i = 0; i < 256; ++i) palette[static_cast<std::size_t>(i)] = {static_cast<std::uint8_t>(i), 0, 255, 0};
    Bytes file = bmpHeaders(kWidth, kHeight, 8, palette, {});
    put32(&file[30], 1);  // RLE8
    put32(&file[34], static_cast<std::uint32_t>(data.size()));
    file.insert(file.end(), data.begin(), data.end());
    put32(&file[2], static_cast<std::uint32_t>(file.size()));
    return file;
}

Bytes png(int colourType, bool interlaced) {
    test::PngPicture p{kWidth, kHeight, colourType, 8, interlaced, {}, {}, {}};
    const int channels = colourType == PNG_COLOR_TYPE_RGBA ? 4 : 3;
    for (int y = 0; y < kHeight; ++y) {
        Bytes row;
        for (int x = 0; x < kWidth; ++x) {
            row.insert(row.end(), {static_cast<std::uint8_t>(x * 6), static_cast<std::uint8_t>(y * 11), 90});
            if (channels == 4) row.push_back(static_cast<std::uint8_t>((x + y) * 5));
        }
        p.rows.push_back(row);
    }
    return test::encodePng(p);
}

// A frame smaller than the canvas, off its corner, with a transparent colour.
Bytes gif(bool interlaced) {
    test::GifFrame frame{3, 2, 30, 17, interlaced, 2, {}, {}};
    for (int i = 0; i < frame.width * frame.height; ++i) frame.indices.push_back(static_cast<std::uint8_t>(i % 3));
    return test::encodeGif(kWidth, kHeight, {255, 0, 0, 0, 0, 255, 9, 9, 9}, {frame});
}

struct Case {
    const char* name;
    Bytes file;
};

std::vector<Case> cases() {
    return {{"24-bit BMP", encodeBmp(test::gradientPicture(kWidth, kHeight))},
            {"8-bit BMP", indexedBmp()},
            {"run-length BMP", runLengthBmp()},
            {"JPEG", test::encodeJpeg(test::gradientPicture(kWidth, kHeight), 90)},
            {"progressive JPEG", test::encodeJpeg(test::gradientPicture(kWidth, kHeight), 90, true)},
            {"PNG", png(PNG_COLOR_TYPE_RGB, false)},
            {"PNG with alpha", png(PNG_COLOR_TYPE_RGBA, false)},
            {"interlaced PNG", png(PNG_COLOR_TYPE_RGB, true)},
            {"interlaced PNG with alpha", png(PNG_COLOR_TYPE_RGBA, true)},
            {"GIF", gif(false)},
            {"interlaced GIF", gif(true)}};
}

class RowSinks : public testing::Test {
protected:
    MappedFile saved(const Case& c) {
        const auto path = temp / "picture";
        test::writeFileBytes(path, std::string(c.file.begin(), c.file.end()));
        return MappedFile(path);
    }
    test::TempFolder temp;
};

}  // namespace

TEST_F(RowSinks, TheKeptPartIsTheTopLeftOfTheWholePicture) {
    for (const Case& c : cases()) {
        SCOPED_TRACE(c.name);
        const MappedFile file = saved(c);
        const Bitmap whole = toBgr24(decodePicture(file));
        for (const auto& [width, height] : {std::pair{10, 7}, {kWidth, 1}, {1, kHeight}, {kWidth - 1, kHeight - 1}}) {
            TopLeftPart part(width, height);
            decodePictureRows(file, part);
            EXPECT_EQ(part.pictureWidth(), kWidth);
            EXPECT_EQ(part.pictureHeight(), kHeight);
            EXPECT_FALSE(part.isWhole());
            EXPECT_EQ(part.take().pixels(), test::topLeftOf(whole, width, height).pixels()) << width << " × " << height;
        }
        TopLeftPart roomy(kWidth + 5, kHeight);
        decodePictureRows(file, roomy);
        EXPECT_TRUE(roomy.isWhole());
        EXPECT_EQ(roomy.take().pixels(), whole.pixels());
    }
}

TEST_F(RowSinks, ABmpWrittenRowByRowHoldsTheWholePicture) {
    for (const Case& c : cases()) {
        SCOPED_TRACE(c.name);
        const MappedFile file = saved(c);
        const auto target = temp / "written.bmp";
        TopLeftPart shown(8, 8);
        {
            AtomicFile bmp(target, AtomicFile::Sync::Fast);
            writePictureAsBmp(file, bmp, &shown);
            bmp.commit();
        }
        const Bitmap whole = toBgr24(decodePicture(file));
        const Bitmap written = loadPicture(target);
        EXPECT_EQ(written.bitsPerPixel(), 24);
        EXPECT_EQ(written.pixels(), whole.pixels());
        EXPECT_EQ(shown.take().pixels(), test::topLeftOf(whole, 8, 8).pixels());
    }
}

// Rows already written when the picture turns out broken are dropped with
// the new file.
TEST_F(RowSinks, ABrokenPictureLeavesTheTargetAsItWas) {
    Bytes cut = png(PNG_COLOR_TYPE_RGB, false);
    cut.resize(cut.size() * 2 / 3);
    const MappedFile file = saved({"cut", cut});
    const auto target = temp / "kept.bmp";
    test::writeFileBytes(target, "old");
    EXPECT_THROW(
        {
            AtomicFile bmp(target, AtomicFile::Sync::Fast);
            writePictureAsBmp(file, bmp);
            bmp.commit();
        },
        ImageError);
    EXPECT_EQ(test::readFileBytes(target), "old");
}
