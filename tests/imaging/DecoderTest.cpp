#include "Bitmap.h"
#include "GifDecoder.h"
#include "JpegDecoder.h"
#include "Picture.h"
#include "PictureEncoders.h"
#include "PngDecoder.h"
#include "TempFolder.h"

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <cstdlib>

using namespace tavlo::imaging;
using namespace tavlo::test;

namespace {

Bytes pixel(const Bitmap& b, int x, int y) {
    return {b.row(y) + 3 * x, b.row(y) + 3 * x + 3};
}

// Largest channel difference between two 24-bit pictures of one size.
int maxDifference(const Bitmap& a, const Bitmap& b) {
    int worst = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int i = 0; i < a.width() * 3; ++i) worst = std::max(worst, std::abs(a.row(y)[i] - b.row(y)[i]));
    return worst;
}

Bitmap flat(int width, int height, std::uint8_t b, std::uint8_t g, std::uint8_t r) {
    Bitmap p(width, height, 24);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            p.row(y)[3 * x] = b;
            p.row(y)[3 * x + 1] = g;
            p.row(y)[3 * x + 2] = r;
        }
    return p;
}

// The file must be refused for the reason named, and only for it: each
// hostile file below is otherwise sound (checksums included), so that a
// deleted guard makes its case fail.
void expectRejected(const Bytes& file, const char* what, const char* reason) {
    try {
        decodePicture(file);
        ADD_FAILURE() << what << ": accepted";
    } catch (const ImageError& e) {
        EXPECT_NE(std::string(e.what()).find(reason), std::string::npos) << what << ": " << e.what();
    }
}

// Puts the right checksum behind the PNG chunk whose type starts at `type`.
void fixPngChecksum(Bytes& png, std::size_t type, std::size_t dataLength) {
    const auto crc = static_cast<std::uint32_t>(::crc32(0, png.data() + type, static_cast<unsigned>(4 + dataLength)));
    for (int k = 0; k < 4; ++k) png[type + 4 + dataLength + k] = static_cast<std::uint8_t>(crc >> (24 - 8 * k));
}

}  // namespace

TEST(Jpeg, DecodesEveryColourModelCloseToTheSource) {
    const Bitmap source = gradientPicture(64, 48);
    struct Case {
        const char* name;
        JpegColours colours;
        bool progressive;
    };
    for (const Case& c : {Case{"YCbCr", JpegColours::YCbCr, false}, Case{"progressive", JpegColours::YCbCr, true},
                          Case{"CMYK", JpegColours::Cmyk, false}, Case{"Adobe CMYK", JpegColours::AdobeCmyk, false}}) {
        const Bitmap decoded = decodeJpeg(encodeJpeg(source, 100, c.progressive, c.colours));
        ASSERT_EQ(decoded.width(), 64) << c.name;
        ASSERT_EQ(decoded.height(), 48) << c.name;
        EXPECT_LE(maxDifference(decoded, source), 12) << c.name;
    }
    // A flat colour survives nearly exactly, also through the CMYK paths.
    const Bitmap orange = flat(16, 16, 0x20, 0x80, 0xF0);
    for (const JpegColours colours : {JpegColours::YCbCr, JpegColours::Cmyk, JpegColours::AdobeCmyk})
        EXPECT_LE(maxDifference(decodeJpeg(encodeJpeg(orange, 100, false, colours)), orange), 3);
    const Bitmap gray = decodeJpeg(encodeJpeg(orange, 100, false, JpegColours::Gray));
    EXPECT_NEAR(gray.row(5)[15], 0x80, 2);  // gray pictures come out with equal channels
    EXPECT_EQ(gray.row(5)[15], gray.row(5)[17]);
}

TEST(Png, DecodesEveryColourTypeAndDepth) {
    struct Case {
        const char* name;
        PngPicture png;
        Bytes topLeft, topRight;  // expected B, G, R
    };
    const auto be16 = [](int v) { return Bytes{static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)}; };
    std::vector<Case> cases;
    cases.push_back(
        {"RGB 8", {2, 1, PNG_COLOR_TYPE_RGB, 8, false, {{10, 20, 30, 40, 50, 60}}}, {30, 20, 10}, {60, 50, 40}});
    Bytes rgb16 = be16(0x1234);
    for (int v : {0x5678, 0x9ABC, 0xFFFF, 0x0000, 0x8080}) {
        const Bytes w = be16(v);
        rgb16.insert(rgb16.end(), w.begin(), w.end());
    }
    cases.push_back({"RGB 16", {2, 1, PNG_COLOR_TYPE_RGB, 16, false, {rgb16}}, {0x9A, 0x56, 0x12}, {0x80, 0x00, 0xFF}});
    cases.push_back({"gray 1", {2, 1, PNG_COLOR_TYPE_GRAY, 1, false, {{0x40}}}, {0, 0, 0}, {255, 255, 255}});
    cases.push_back({"gray 2", {2, 1, PNG_COLOR_TYPE_GRAY, 2, false, {{0x60}}}, {85, 85, 85}, {170, 170, 170}});
    cases.push_back({"gray 4", {2, 1, PNG_COLOR_TYPE_GRAY, 4, false, {{0x0F}}}, {0, 0, 0}, {255, 255, 255}});
    cases.push_back(
        {"gray+alpha", {2, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8, false, {{0, 0, 0, 255}}}, {255, 255, 255}, {0, 0, 0}});
    cases.push_back({"RGBA half",
                     {2, 1, PNG_COLOR_TYPE_RGBA, 8, false, {{255, 0, 0, 128, 0, 0, 255, 255}}},
                     {127, 127, 255},
                     {255, 0, 0}});
    PngPicture palette{2, 1, PNG_COLOR_TYPE_PALETTE, 4, false, {{0x01}}, {1, 2, 3, 200, 100, 50}, {0}};
    cases.push_back({"palette + tRNS", palette, {255, 255, 255}, {50, 100, 200}});
    PngPicture keyed{2, 1, PNG_COLOR_TYPE_RGB, 8, false, {{1, 2, 3, 4, 5, 6}}, {}, {0, 1, 0, 2, 0, 3}};
    cases.push_back({"RGB + tRNS key", keyed, {255, 255, 255}, {6, 5, 4}});
    for (const Case& c : cases) {
        const Bitmap b = decodePng(encodePng(c.png));
        ASSERT_EQ(b.width(), 2) << c.name;
        EXPECT_EQ(pixel(b, 0, 0), c.topLeft) << c.name;
        EXPECT_EQ(pixel(b, 1, 0), c.topRight) << c.name;
    }
}

TEST(Png, InterlacedPictureMatchesTheSameRowsPlain) {
    PngPicture png{13, 11, PNG_COLOR_TYPE_RGB, 8, false, {}};
    for (int y = 0; y < png.height; ++y) {
        Bytes row;
        for (int x = 0; x < png.width * 3; ++x) row.push_back(static_cast<std::uint8_t>(x * 7 + y * 13));
        png.rows.push_back(row);
    }
    const Bitmap plain = decodePng(encodePng(png));
    png.interlaced = true;
    const Bitmap interlaced = decodePng(encodePng(png));
    EXPECT_EQ(interlaced.pixels(), plain.pixels());
    EXPECT_EQ(pixel(plain, 1, 2), (Bytes{5 * 7 + 26, 4 * 7 + 26, 3 * 7 + 26}));
}

TEST(Gif, DrawsTheFirstFrameOnTheWholeLogicalScreen) {
    const std::vector<std::uint8_t> global = {255, 0, 0, 0, 255, 0, 0, 0, 255, 9, 9, 9};
    GifFrame first{1, 1, 2, 2, false, 3, {}, {0, 1, 2, 3}};  // index 3 transparent
    GifFrame second{0, 0, 4, 3, false, -1, {}, Bytes(12, 2)};
    const Bitmap b = decodeGif(encodeGif(4, 3, global, {first, second}));
    ASSERT_EQ(b.width(), 4);
    ASSERT_EQ(b.height(), 3);
    EXPECT_EQ(pixel(b, 0, 0), (Bytes{255, 255, 255}));  // canvas outside the frame
    EXPECT_EQ(pixel(b, 1, 1), (Bytes{0, 0, 255}));      // red
    EXPECT_EQ(pixel(b, 2, 1), (Bytes{0, 255, 0}));
    EXPECT_EQ(pixel(b, 1, 2), (Bytes{255, 0, 0}));
    EXPECT_EQ(pixel(b, 2, 2), (Bytes{255, 255, 255}));  // transparent
}

TEST(Gif, ReadsInterlacedFramesAndLocalColourTables) {
    GifFrame frame{0, 0, 1, 9, true, -1, {0, 0, 0, 255, 255, 255}, {}};
    for (int y = 0; y < 9; ++y) frame.indices.push_back(y % 2);
    const Bitmap b = decodeGif(encodeGif(1, 9, {}, {frame}));
    for (int y = 0; y < 9; ++y) EXPECT_EQ(b.row(y)[0], y % 2 ? 255 : 0) << y;
}

// Files whose frame says more than the screen or the colour table holds: what
// lies outside is left out, never written or read past the end.
TEST(Gif, FrameBeyondTheScreenOrItsColourTableStaysInsideIt) {
    const std::vector<std::uint8_t> global = {255, 0, 0, 0, 255, 0, 0, 0, 255, 9, 9, 9};
    // A frame at x = 2 of a screen 6 wide, the screen then said to be 4 wide:
    // its right half lies past the edge.
    Bytes wide = encodeGif(6, 2, global, {GifFrame{2, 0, 4, 2, false, -1, {}, {0, 1, 2, 3, 1, 1, 1, 1}}});
    wide[6] = 4;
    const Bitmap cut = decodeGif(wide);
    ASSERT_EQ(cut.width(), 4);
    EXPECT_EQ(pixel(cut, 1, 0), (Bytes{255, 255, 255}));
    EXPECT_EQ(pixel(cut, 2, 0), (Bytes{0, 0, 255}));
    EXPECT_EQ(pixel(cut, 3, 0), (Bytes{0, 255, 0}));
    EXPECT_EQ(pixel(cut, 3, 1), (Bytes{0, 255, 0}));

    // Indices 0..3 against a table cut down to two entries (the size flag
    // lowered, the last two entries taken out): 2 and 3 read as black.
    Bytes shortTable = encodeGif(4, 1, global, {GifFrame{0, 0, 4, 1, false, -1, {}, {0, 1, 2, 3}}});
    ASSERT_EQ(shortTable[10] & 0x87, 0x81);
    shortTable[10] &= 0xF8;
    shortTable.erase(shortTable.begin() + 19, shortTable.begin() + 25);
    const Bitmap b = decodeGif(shortTable);
    ASSERT_EQ(b.width(), 4);
    EXPECT_EQ(pixel(b, 0, 0), (Bytes{0, 0, 255}));
    EXPECT_EQ(pixel(b, 1, 0), (Bytes{0, 255, 0}));
    EXPECT_EQ(pixel(b, 2, 0), (Bytes{0, 0, 0}));
    EXPECT_EQ(pixel(b, 3, 0), (Bytes{0, 0, 0}));
}

TEST(Picture, FormatComesFromTheContentNotTheName) {
    TempFolder temp;
    const auto path = temp / "photo.bmp";  // a PNG under a BMP name
    const Bytes png = encodePng({1, 1, PNG_COLOR_TYPE_RGB, 8, false, {{7, 8, 9}}});
    writeFileBytes(path, std::string(png.begin(), png.end()));
    EXPECT_EQ(detectFormat(png), PictureFormat::Png);
    EXPECT_EQ(pixel(loadPicture(path), 0, 0), (Bytes{9, 8, 7}));
    writeFileBytes(temp / "x.ico", std::string("\0\0\1\0", 4));
    EXPECT_THROW(loadPicture(temp / "x.ico"), ImageError);
    EXPECT_THROW(loadPicture(temp / "missing.png"), std::exception);
}

TEST(Picture, RejectsDamagedJpegPngAndGifFiles) {
    const Bytes jpeg = encodeJpeg(gradientPicture(32, 32));
    expectRejected(Bytes(jpeg.begin(), jpeg.begin() + 20), "JPEG header cut", "contains no image");
    // The frame header's height and width (big-endian, at offsets 5 and 7).
    const auto withJpegSize = [&jpeg](std::uint8_t high, std::uint8_t low) {
        Bytes sized = jpeg;
        for (std::size_t i = 0; i + 8 < sized.size(); ++i)
            if (sized[i] == 0xFF && sized[i + 1] == 0xC0) {
                sized[i + 5] = sized[i + 7] = high;
                sized[i + 6] = sized[i + 8] = low;
                break;
            }
        return sized;
    };
    expectRejected(withJpegSize(0xEA, 0x60), "JPEG of 60000 × 60000", "picture too large");
    // 4000 × 4000 is allowed, but not from a file of a few hundred bytes.
    expectRejected(withJpegSize(0x0F, 0xA0), "JPEG too large for its file", "cannot come from a file of");

    const Bytes png = encodePng({4, 4, PNG_COLOR_TYPE_RGB, 8, false, std::vector<Bytes>(4, Bytes(12, 5))});
    expectRejected(Bytes(png.begin(), png.end() - 20), "PNG cut", "file ends early");
    Bytes badCrc = png;
    badCrc[29] ^= 0xFF;  // inside IHDR's checksum
    expectRejected(badCrc, "PNG checksum", "CRC");
    // IHDR's width and height (big-endian, at offsets 16 and 20), with the
    // checksum made right so that only our guards can refuse the size.
    const auto withPngSize = [&png](std::uint8_t high, std::uint8_t low) {
        Bytes sized = png;
        sized[18] = sized[22] = high;
        sized[19] = sized[23] = low;
        fixPngChecksum(sized, 12, 13);
        return sized;
    };
    expectRejected(withPngSize(0x4E, 0x20), "PNG of 20000 × 20000", "picture too large");
    expectRejected(withPngSize(0x0F, 0xA0), "PNG too large for its file", "cannot come from a file this small");

    const Bytes gif = encodeGif(2, 2, {0, 0, 0, 255, 255, 255}, {GifFrame{0, 0, 2, 2, false, -1, {}, {0, 1, 1, 0}}});
    Bytes noFrame(gif.begin(), gif.begin() + 19);  // header, screen and colour table, then the trailer
    noFrame.push_back(0x3B);
    expectRejected(noFrame, "GIF without a frame", "no picture in the file");
    expectRejected(Bytes(gif.begin(), gif.end() - 6), "GIF cut inside the frame", "Failed to read");
    // The same picture without its colour table: the flag cleared and the
    // table's two entries (six bytes) taken out; the frame has none either.
    Bytes noTable = gif;
    ASSERT_EQ(noTable[10] & 0x87, 0x80);
    noTable[10] &= 0x7F;
    noTable.erase(noTable.begin() + 13, noTable.begin() + 19);
    expectRejected(noTable, "GIF without colours", "frame without a colour table");
    Bytes bigCanvas = gif;  // a logical screen of 4000 × 4000 around a 2 × 2 frame
    bigCanvas[6] = bigCanvas[8] = 0xA0;
    bigCanvas[7] = bigCanvas[9] = 0x0F;
    expectRejected(bigCanvas, "GIF canvas too large for its file", "cannot come from a file of");
}
