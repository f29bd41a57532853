#include "BmpFormat.h"
#include "ByteReader.h"
#include "CBmp.h"
#include "Composition.h"
#include "FileError.h"
#include "FileSizeCap.h"
#include "Picture.h"
#include "PictureEncoders.h"
#include "TempFolder.h"

#include <gtest/gtest.h>
#include <png.h>
#include <sys/resource.h>

#include <csignal>
#include <cstring>
#include <stdexcept>

using namespace tavlo;
using imaging::Bitmap;

namespace {

constexpr std::uint8_t kContent[3] = {0x11, 0x99, 0xEE};  // B, G, R
constexpr std::uint8_t kBack[3] = {0x40, 0x30, 0x20};

Bitmap filled(int width, int height, const std::uint8_t (&bgr)[3]) {
    Bitmap b(width, height, 24);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) std::memcpy(b.row(y) + 3 * x, bgr, 3);
    return b;
}

// A background of the given kind, every pixel kBack (or the palette entry for it).
Bitmap background(int width, int height, int bits) {
    Bitmap b(width, height, bits);
    if (bits == 8) {
        b.palette = {{0, 0, 0, 0}, {kBack[0], kBack[1], kBack[2], 0}, {0x10, 0x9A, 0xF0, 0}, {255, 255, 255, 0}};
        for (int y = 0; y < height; ++y) std::memset(b.row(y), 1, static_cast<std::size_t>(width));
        return b;
    }
    const Bitmap bgr = filled(width, height, kBack);
    imaging::PixelWriter writer(b);
    for (int y = 0; y < height; ++y) writer.writePixels(b.row(y), 0, bgr.row(y), width);
    return b;
}

// Which pixels of the composite show the content: checks every pixel.
void expectContentExactlyIn(const Bitmap& mix, int left, int top, int right, int bottom, const std::string& label) {
    const Bitmap bgr = imaging::toBgr24(mix);
    int wrong = 0;
    for (int y = 0; y < bgr.height(); ++y)
        for (int x = 0; x < bgr.width(); ++x) {
            const bool inside = x >= left && x < right && y >= top && y < bottom;
            const std::uint8_t* p = bgr.row(y) + 3 * x;
            const std::uint8_t* want = inside ? kContent : kBack;
            // 16-bit and indexed targets store the nearest colour they can hold.
            const int tolerance = mix.bitsPerPixel() == 16 ? 8 : mix.bitsPerPixel() == 8 ? 6 : 0;
            for (int c = 0; c < 3; ++c)
                if (std::abs(p[c] - want[c]) > tolerance) ++wrong;
        }
    EXPECT_EQ(wrong, 0) << label;
}

}  // namespace

TEST(Composition, PastesNearTheTopRightCornerInEveryGeometryAndFormat) {
    struct Geometry {
        const char* name;
        int bgW, bgH, cW, cH;
        int left, top, right, bottom;  // expected content area
    };
    const Geometry geometries[] = {
        {"800x600 with 300x200", 800, 600, 300, 200, 448, 4, 748, 204},
        {"exactly bgW-52 wide", 200, 100, 148, 10, 0, 4, 148, 14},
        {"wider: left part cut", 200, 100, 190, 10, 0, 4, 148, 14},
        {"taller: bottom cut", 200, 100, 20, 150, 128, 4, 148, 100},
        {"larger both ways", 120, 80, 500, 400, 0, 4, 68, 80},
    };
    struct Kind {
        const char* name;
        int bits;
        bool png;  // stored as a PNG: the decoded path, written back as 24 bits
    };
    const Kind kinds[] = {{"24-bit BMP", 24, false},
                          {"32-bit BMP", 32, false},
                          {"16-bit BMP", 16, false},
                          {"8-bit BMP", 8, false},
                          {"PNG", 24, true}};
    test::TempFolder temp;
    for (const Geometry& g : geometries)
        for (const Kind& k : kinds) {
            const std::string label = std::string(g.name) + ", " + k.name;
            const Bitmap back = background(g.bgW, g.bgH, k.bits);
            const auto backPath = temp / "back.pic";
            if (k.png) {
                test::PngPicture png{g.bgW, g.bgH, PNG_COLOR_TYPE_RGB, 8, false, {}};
                png.rows.assign(static_cast<std::size_t>(g.bgH), {});
                for (auto& row : png.rows)
                    for (int x = 0; x < g.bgW; ++x) row.insert(row.end(), {kBack[2], kBack[1], kBack[0]});
                const auto bytes = test::encodePng(png);
                test::writeFileBytes(backPath, std::string(bytes.begin(), bytes.end()));
            } else {
                imaging::writeBmp(back, backPath);
            }
            Composition composition(temp / "source/DeskTopBG");
            composition.SaveContentPicture(filled(g.cW, g.cH, kContent));
            ASSERT_TRUE(composition.LoadBackground(backPath)) << label;
            composition.ComposeWallpaper();
            const Bitmap mix = imaging::loadPicture(composition.mixPath());
            ASSERT_EQ(mix.width(), g.bgW) << label;
            ASSERT_EQ(mix.height(), g.bgH) << label;
            EXPECT_EQ(mix.bitsPerPixel(), k.bits) << label;
            if (k.bits == 8) {
                EXPECT_EQ(mix.palette, back.palette) << label;
            }
            expectContentExactlyIn(mix, g.left, g.top, g.right, g.bottom, label);
        }
}

TEST(Composition, ContentBmpHoldsTheCurrentPictureAndMixIsReplacedEachTime) {
    test::TempFolder temp;
    imaging::writeBmp(background(100, 50, 24), temp / "A1.bmp");
    Composition composition(temp.path());
    const Bitmap first = test::gradientPicture(10, 10, 1);
    composition.SaveContentPicture(first);
    EXPECT_EQ(imaging::loadPicture(composition.contentPath()).pixels(), first.pixels());
    ASSERT_TRUE(composition.LoadBackground(temp / "A1.bmp"));
    composition.ComposeWallpaper();
    composition.SaveContentPicture(filled(10, 10, kContent));
    composition.ComposeWallpaper();
    expectContentExactlyIn(imaging::loadPicture(composition.mixPath()), 38, 4, 48, 14, "second composition");
}

TEST(Composition, PatchedCopyKeepsTheBackgroundFilesOwnBytesAroundTheContent) {
    test::TempFolder temp;
    // A top-down background with bytes after the pixels: both must survive.
    std::vector<std::uint8_t> file = imaging::encodeBmp(background(64, 20, 24));
    imaging::put32(&file[22], static_cast<std::uint32_t>(-20));
    file.insert(file.end(), {'t', 'a', 'i', 'l'});
    test::writeFileBytes(temp / "bg.bmp", std::string(file.begin(), file.end()));
    Composition composition(temp.path());
    composition.SaveContentPicture(filled(4, 2, kContent));
    ASSERT_TRUE(composition.LoadBackground(temp / "bg.bmp"));
    composition.ComposeWallpaper();
    const std::string mix = test::readFileBytes(composition.mixPath());
    ASSERT_EQ(mix.size(), file.size());
    EXPECT_EQ(mix.substr(0, 54), std::string(file.begin(), file.begin() + 54));
    EXPECT_EQ(mix.substr(mix.size() - 4), "tail");
    expectContentExactlyIn(imaging::loadPicture(composition.mixPath()), 8, 4, 12, 6, "top-down");
}

TEST(Composition, PatchesHalfBytesOfFourBitBackgroundsInPlace) {
    test::TempFolder temp;
    Bitmap back(60, 8, 4);  // content 3 wide lands at x = 5: it starts in the low half of a byte
    back.palette = {{0, 0, 0, 0}, {255, 255, 255, 0}, {0, 0, 255, 0}};
    for (int y = 0; y < 8; ++y) std::memset(back.row(y), 0x11, back.stride());
    imaging::writeBmp(back, temp / "bg.bmp");
    const std::uint8_t red[3] = {0, 0, 250};
    Composition composition(temp.path());
    composition.SaveContentPicture(filled(3, 2, red));
    ASSERT_TRUE(composition.LoadBackground(temp / "bg.bmp"));
    composition.ComposeWallpaper();
    const Bitmap mix = imaging::loadPicture(composition.mixPath());
    EXPECT_EQ(mix.bitsPerPixel(), 4);
    const std::uint8_t* row = mix.row(4);
    EXPECT_EQ(row[2], 0x12);  // pixels 4, 5
    EXPECT_EQ(row[3], 0x22);  // pixels 6, 7
    EXPECT_EQ(row[4], 0x11);
    EXPECT_EQ(mix.row(3)[2], 0x11);
    EXPECT_EQ(mix.row(6)[2], 0x11);
}

TEST(Composition, IndexedBackgroundTakesTheNearestPaletteColour) {
    Bitmap target = background(4, 1, 8);
    const std::uint8_t nearOrange[3] = {0x14, 0x90, 0xE0};
    OverlayBitmap(filled(2, 1, nearOrange), target, -1, 0);  // the first pixel falls outside
    EXPECT_EQ(target.row(0)[0], 2);
    EXPECT_EQ(target.row(0)[1], 1);
    EXPECT_EQ(target.width(), 4);
}

TEST(Composition, UnreadableBackgroundFailsAndIsNotUsedAfterwards) {
    test::TempFolder temp;
    imaging::writeBmp(background(100, 50, 24), temp / "good.bmp");
    test::writeFileBytes(temp / "bad.bmp", "BM not really");
    Composition composition(temp.path());
    composition.SaveContentPicture(filled(4, 4, kContent));
    ASSERT_TRUE(composition.LoadBackground(temp / "good.bmp"));
    EXPECT_FALSE(composition.LoadBackground(temp / "bad.bmp"));
    EXPECT_FALSE(composition.LoadBackground(temp / "missing.bmp"));
    EXPECT_THROW(composition.ComposeWallpaper(), std::logic_error);
}

namespace {

// A 24-bit background "bg.bmp" of the given size with a small content,
// composed once: `before` is that Mix.bmp.
struct ComposedOnce {
    test::TempFolder temp;
    Composition composition{temp.path()};
    std::string before;

    ComposedOnce(int width, int height) {
        imaging::writeBmp(background(width, height, 24), temp / "bg.bmp");
        composition.SaveContentPicture(filled(4, 4, kContent));
        if (!composition.LoadBackground(temp / "bg.bmp")) throw std::runtime_error("the background did not load");
        composition.ComposeWallpaper();
        before = test::readFileBytes(composition.mixPath());
    }
};

}  // namespace

TEST(Composition, FailedWriteLeavesThePreviousMixWhole) {
    ComposedOnce f(300, 200);
    {
        test::FileSizeCap cap(4096);  // as if the disk filled up mid-write
        EXPECT_THROW(f.composition.ComposeWallpaper(), FileError);
    }
    EXPECT_EQ(test::readFileBytes(f.composition.mixPath()), f.before);
}

// Another program cuts or rewrites the background between its reading and
// the composite's writing: no composite is made from bytes that were not the
// file's, and the previous Mix.bmp stays.
TEST(Composition, BackgroundChangedWhileComposedLeavesThePreviousMix) {
    const struct {
        const char* name;
        void (*change)(const std::filesystem::path&);
    } cases[] = {
        {"cut short", [](const std::filesystem::path& p) { std::filesystem::resize_file(p, 1000); }},
        {"rewritten in place",
         [](const std::filesystem::path& p) {
             test::makeFileAnHourOld(p);
             test::rewriteInPlace(p, 2000, "\xFF");
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ComposedOnce f(100, 50);
        ASSERT_TRUE(f.composition.LoadBackground(f.temp / "bg.bmp"));
        c.change(f.temp / "bg.bmp");
        EXPECT_THROW(f.composition.ComposeWallpaper(), FileError);
        EXPECT_EQ(test::readFileBytes(f.composition.mixPath()), f.before);
    }
}
