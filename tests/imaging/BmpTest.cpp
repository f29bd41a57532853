#include "BmpFormat.h"
#include "ByteReader.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace tavlo::imaging;
using Bytes = std::vector<std::uint8_t>;

namespace {

// A bitmap of the given format whose every pixel is distinct where it can be.
Bitmap patterned(int width, int height, int bits) {
    Bitmap b(width, height, bits);
    for (std::size_t i = 0; i < b.pixels().size(); ++i) b.pixels()[i] = static_cast<std::uint8_t>(i * 37 + 11);
    // Keep the row padding zero, as a writer stores it.
    const std::size_t used = (static_cast<std::size_t>(width) * bits + 7) / 8;
    for (int y = 0; y < height; ++y) {
        std::memset(b.row(y) + used, 0, b.stride() - used);
        if (bits < 8 && (width * bits) % 8)
            b.row(y)[used - 1] &= static_cast<std::uint8_t>(0xFF << (8 - (width * bits) % 8));
    }
    return b;
}

// Builds a BMP file by hand: file header, an info header of `infoSize` bytes
// (12 = core), then `extra` (masks and palette), then the pixel bytes.
Bytes handMade(std::uint32_t infoSize, std::int32_t width, std::int32_t height, int bits, std::uint32_t compression,
               const Bytes& extra, const Bytes& pixels, std::uint32_t colorsUsed = 0) {
    Bytes f(14 + infoSize, 0);
    f[0] = 'B';
    f[1] = 'M';
    put32(&f[10], static_cast<std::uint32_t>(14 + infoSize + extra.size()));
    put32(&f[14], infoSize);
    if (infoSize == 12) {
        put16(&f[18], static_cast<std::uint32_t>(width));
        put16(&f[20], static_cast<std::uint32_t>(height));
        put16(&f[22], 1);
        put16(&f[24], static_cast<std::uint32_t>(bits));
    } else {
        put32(&f[18], static_cast<std::uint32_t>(width));
        put32(&f[22], static_cast<std::uint32_t>(height));
        put16(&f[26], 1);
        put16(&f[28], static_cast<std::uint32_t>(bits));
        put32(&f[30], compression);
        put32(&f[46], colorsUsed);
    }
    f.insert(f.end(), extra.begin(), extra.end());
    f.insert(f.end(), pixels.begin(), pixels.end());
    put32(&f[2], static_cast<std::uint32_t>(f.size()));
    return f;
}

Bytes bgrAt(const Bitmap& b, int x, int y) {
    const Bitmap rgb = toBgr24(b);
    return {rgb.row(y) + 3 * x, rgb.row(y) + 3 * x + 3};
}

}  // namespace

TEST(Bmp, EveryFormatSurvivesAWriteAndARead) {
    struct Case {
        int bits;
        ChannelMasks masks;
        std::size_t paletteSize;
    };
    const Case cases[] = {
        {1, {}, 2},
        {4, {}, 16},
        {4, {}, 5},
        {8, {}, 256},
        {8, {}, 3},
        {16, ChannelMasks::rgb555(), 0},
        {16, {0xF800, 0x07E0, 0x001F, 0}, 0},
        {16, {0x0F00, 0x00F0, 0x000F, 0xF000}, 0},
        {24, {}, 0},
        {32, ChannelMasks::rgb888(), 0},
        {32, {0xFF000000, 0x00FF0000, 0x0000FF00, 0}, 0},
        {32, {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000}, 0},
    };
    tavlo::test::TempFolder temp;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.bits << " bits, palette " << c.paletteSize);
        Bitmap b = patterned(7, 5, c.bits);
        if (c.bits <= 8) {
            b.palette.resize(c.paletteSize);
            for (std::size_t i = 0; i < c.paletteSize; ++i)
                b.palette[i] = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i * 3),
                                static_cast<std::uint8_t>(255 - i), 0};
        } else {
            b.masks = c.masks;
        }
        const auto path = temp / "round.bmp";
        writeBmp(b, path);
        const std::string onDisk = tavlo::test::readFileBytes(path);
        EXPECT_EQ(Bytes(onDisk.begin(), onDisk.end()), encodeBmp(b));
        const Bitmap back = readBmp(encodeBmp(b));
        EXPECT_EQ(back.width(), 7);
        EXPECT_EQ(back.height(), 5);
        EXPECT_EQ(back.bitsPerPixel(), c.bits);
        EXPECT_EQ(back.pixels(), b.pixels());
        if (c.bits <= 8)
            EXPECT_EQ(back.palette, b.palette);
        else
            EXPECT_EQ(back.masks, b.masks);
    }
}

TEST(Bmp, ReadsCoreHeadersTopDownRowsAndShortPalettes) {
    // Core header: 3-byte palette entries, 16-bit sizes. 2 × 2 at 8 bits, rows padded to 4.
    const Bytes core = handMade(12, 2, 2, 8, 0, {10, 20, 30, 40, 50, 60}, {1, 0, 0, 0, 0, 1, 0, 0});
    const Bitmap a = readBmp(core);
    EXPECT_EQ(a.palette.size(), 2u);                 // 256 declared, 2 present before the pixels
    EXPECT_EQ(bgrAt(a, 0, 1), (Bytes{40, 50, 60}));  // bottom row stored first
    EXPECT_EQ(bgrAt(a, 1, 0), (Bytes{40, 50, 60}));
    EXPECT_EQ(bgrAt(a, 0, 0), (Bytes{10, 20, 30}));

    // Top-down 24-bit: negative height, first stored row on top.
    const Bytes topDown = handMade(40, 1, -2, 24, 0, {}, {1, 2, 3, 0, 4, 5, 6, 0});
    const Bitmap b = readBmp(topDown);
    EXPECT_EQ(bgrAt(b, 0, 0), (Bytes{1, 2, 3}));
    EXPECT_EQ(bgrAt(b, 0, 1), (Bytes{4, 5, 6}));

    // Palette entries past the stored ones read as black.
    const Bytes shortPalette = handMade(40, 2, 1, 8, 0, {9, 9, 9, 0}, {0, 7, 0, 0}, 1);
    EXPECT_EQ(bgrAt(readBmp(shortPalette), 1, 0), (Bytes{0, 0, 0}));
}

TEST(Bmp, ReadsBitFieldsInEveryHeaderKind) {
    // 16-bit 565 behind a 40-byte header: masks follow it.
    Bytes masks565(12);
    put32(&masks565[0], 0xF800);
    put32(&masks565[4], 0x07E0);
    put32(&masks565[8], 0x001F);
    const Bitmap a = readBmp(handMade(40, 1, 1, 16, 3, masks565, {0x00, 0xF8, 0, 0}));  // pure red
    EXPECT_EQ(bgrAt(a, 0, 0), (Bytes{0, 0, 255}));

    // 32-bit with alpha in a V5 header: masks inside the header.
    Bytes f = handMade(124, 1, 1, 32, 3, {}, {0x10, 0x20, 0x30, 0x80});
    put32(&f[54], 0x00FF0000);
    put32(&f[58], 0x0000FF00);
    put32(&f[62], 0x000000FF);
    put32(&f[66], 0xFF000000);
    const Bitmap b = readBmp(f);
    EXPECT_EQ(b.masks.alpha, 0xFF000000u);
    EXPECT_EQ(bgrAt(b, 0, 0), (Bytes{0x10, 0x20, 0x30}));
}

TEST(Bmp, ExpandsRunLengthPictures) {
    const Bytes palette = {0, 0, 0, 0, 255, 255, 255, 0, 0, 0, 255, 0};
    // RLE8, 4 × 2: bottom line = run of 3 × index 1 then literal {2}; end of line;
    // top line = delta right 2, then run of 1 × index 2; end of picture.
    const Bytes rle8 = {3, 1, 0, 3, 2, 2, 2, 0, 0, 0, 0, 2, 2, 0, 1, 2, 0, 1};
    const Bitmap a = readBmp(handMade(40, 4, 2, 8, 1, palette, rle8, 3));
    EXPECT_EQ(a.bitsPerPixel(), 8);
    const Bytes bottom(a.row(1), a.row(1) + 4), top(a.row(0), a.row(0) + 4);
    EXPECT_EQ(bottom, (Bytes{1, 1, 1, 2}));
    EXPECT_EQ(top, (Bytes{0, 0, 2, 0}));

    // RLE4, 5 × 1: run of 3 alternating 1,2; literal of 3 nibbles {2,1,2}, the
    // last one past the right edge.
    const Bytes rle4 = {3, 0x12, 0, 3, 0x21, 0x20, 0, 1};
    const Bitmap b = readBmp(handMade(40, 5, 1, 4, 2, palette, rle4, 3));
    EXPECT_EQ(b.row(0)[0], 0x12);
    EXPECT_EQ(b.row(0)[1], 0x12);
    EXPECT_EQ(b.row(0)[2], 0x10);
}

TEST(Bmp, RejectsMalformedFilesWithAReason) {
    const Bytes good = handMade(40, 2, 2, 24, 0, {}, Bytes(16, 7));
    struct Case {
        const char* name;
        Bytes file;
        const char* reason;
    };
    std::vector<Case> cases;
    cases.push_back({"empty", {}, "not a BMP"});
    cases.push_back({"header cut", Bytes(good.begin(), good.begin() + 30), "too short"});
    cases.push_back({"pixels cut", Bytes(good.begin(), good.end() - 1), "truncated"});
    cases.push_back({"odd header size", handMade(41, 2, 2, 24, 0, {}, Bytes(16)), "header size"});
    cases.push_back({"zero width", handMade(40, 0, 2, 24, 0, {}, {}), "invalid size"});
    cases.push_back({"huge", handMade(40, 100000, 100000, 1, 0, {0, 0, 0, 0, 1, 1, 1, 0}, {}), "too large"});
    cases.push_back({"depth 7", handMade(40, 2, 2, 7, 0, {}, Bytes(16)), "depth"});
    cases.push_back({"RLE8 at 24 bits", handMade(40, 2, 2, 24, 1, {}, Bytes(16)), "run-length"});
    cases.push_back({"RLE top-down", handMade(40, 2, -2, 8, 1, {0, 0, 0, 0}, {0, 1}, 1), "top-down"});
    cases.push_back({"JPEG inside", handMade(40, 2, 2, 24, 4, {}, Bytes(16)), "compression"});
    cases.push_back({"no palette", handMade(40, 2, 2, 8, 0, {}, Bytes(8)), "palette"});
    cases.push_back({"gappy mask",
                     handMade(40, 1, 1, 16, 3, {0x05, 0, 0, 0, 0xF0, 0, 0, 0, 0x0A, 0x0F, 0, 0}, Bytes(4)), "one run"});
    cases.push_back({"mask wider than a 16-bit pixel",
                     handMade(40, 1, 1, 16, 3, {0, 0, 0x1F, 0, 0xE0, 0x07, 0, 0, 0x1F, 0, 0, 0}, Bytes(4)), "wider"});
    cases.push_back({"all masks zero", handMade(40, 1, 1, 32, 3, Bytes(12), Bytes(4)), "all colour masks are zero"});
    // The second OS/2 header gives 3 and 4 other meanings: Huffman-coded
    // 1-bit and run-length 24-bit pixels, which no writer of today makes.
    cases.push_back(
        {"OS/2 Huffman", handMade(64, 8, 1, 1, 3, {0, 0, 0, 0, 255, 255, 255, 0}, Bytes(4)), "OS/2 Huffman"});
    cases.push_back({"OS/2 RLE24", handMade(64, 2, 1, 24, 4, {}, {2, 1, 2, 3, 0, 1}), "RLE24"});
    cases.push_back({"literal past end", handMade(40, 4, 1, 8, 1, {0, 0, 0, 0}, {0, 9, 1, 1}, 1), "literal"});
    Bytes offset = good;
    put32(&offset[10], 1u << 30);
    cases.push_back({"offset past end", offset, "past the end"});
    for (const Case& c : cases) {
        try {
            readBmp(c.file);
            ADD_FAILURE() << c.name << ": accepted";
        } catch (const ImageError& e) {
            EXPECT_NE(std::string(e.what()).find(c.reason), std::string::npos) << c.name << ": " << e.what();
        }
    }
}

// Headers whose fields contradict each other or the file are refused, one
// field at a time, as the common readers refuse them; the unchanged file reads.
TEST(Bmp, RefusesHeaderFieldsThatContradictThemselvesOrTheFile) {
    const Bytes palette = {0, 0, 0, 0, 255, 255, 255, 0};
    const Bytes indexed = handMade(40, 2, 2, 8, 0, palette, Bytes(8, 1), 2);
    Bytes masks565(12);
    put32(&masks565[0], 0xF800);
    put32(&masks565[4], 0x07E0);
    put32(&masks565[8], 0x001F);
    const Bytes bitFields = handMade(40, 1, 1, 16, 3, masks565, Bytes(4));
    const Bytes deep = handMade(40, 2, 2, 24, 0, {}, Bytes(16, 7));
    const Bytes rle = handMade(40, 4, 2, 8, 1, palette, {4, 1, 0, 0, 4, 1, 0, 1}, 2);
    for (const Bytes& file : {indexed, bitFields, deep, rle}) EXPECT_NO_THROW(readBmp(file));

    struct Case {
        const char* field;
        Bytes file;
        std::size_t at;  // where the field's four (or two) bytes lie
        std::uint32_t value;
        bool twoBytes;
        const char* reason;
    };
    const Case cases[] = {
        {"planes", indexed, 26, 3, true, "3 colour planes"},
        {"core planes", handMade(12, 2, 2, 8, 0, {0, 0, 0, 9, 9, 9}, Bytes(8)), 22, 0, true, "0 colour planes"},
        {"colours beyond the depth", indexed, 46, 300, false, "palette of 300 colours at 8 bits"},
        {"colours beyond the file", indexed, 46, 200, false, "palette of 200 colours does not fit"},
        {"colours of a deep picture", deep, 46, 1u << 30, false, "colours in a file of"},
        {"offset inside the headers", indexed, 10, 20, false, "offset 20 lies inside the headers"},
        {"overlapping masks", bitFields, 58, 0xFC00, false, "colour masks overlap"},
        {"compressed size", rle, 34, 1u << 20, false, "runs past the end of the file"},
    };
    for (const Case& c : cases) {
        Bytes file = c.file;
        if (c.twoBytes)
            put16(&file[c.at], c.value);
        else
            put32(&file[c.at], c.value);
        try {
            readBmp(file);
            ADD_FAILURE() << c.field << ": accepted";
        } catch (const ImageError& e) {
            EXPECT_NE(std::string(e.what()).find(c.reason), std::string::npos) << c.field << ": " << e.what();
        }
    }
}
