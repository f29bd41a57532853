// The X11 backend against a real X server (Xvfb) at 24 and 16 bits: what is
// drawn on the root window comes back pixel for pixel.
#include <gtest/gtest.h>  // before Xlib, whose macros (None, Bool) clash with it

#include "ChildProcess.h"
#include "MissingTool.h"
#include "X11ScreenCopy.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <bit>
#include <cstdlib>
#include <memory>

namespace tavlo::screencopy {
namespace {

constexpr int kScreenWidth = 64, kScreenHeight = 48;

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};

// The colour drawn at (x, y). At 16 bits only full and empty channels
// survive exactly, so the pattern uses those there.
std::uint32_t drawnColour(int x, int y, int depth) {
    if (depth == 16) {
        static const std::uint32_t kColours[] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0xFFFF00, 0x00FFFF, 0};
        return 0xFF000000u | kColours[(x + 2 * y) % 7];
    }
    return 0xFF000000u | std::uint32_t(x * 4) << 16 | std::uint32_t(y * 5) << 8 | std::uint32_t((x * y) % 256);
}

unsigned long place(std::uint32_t value, unsigned long mask) {
    const int shift = std::countr_zero(mask);
    const unsigned long maximum = mask >> shift;
    return ((value & 0xFF) * maximum + 127) / 255 << shift;
}

class X11ScreenCopyTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        TAVLO_REQUIRE_TOOL(test::programInPath("Xvfb"), "Xvfb");
        const std::optional<std::string> name =
            test::startXvfb(server_, std::to_string(kScreenWidth) + "x" + std::to_string(kScreenHeight) + "x" +
                                         std::to_string(GetParam()));
        ASSERT_TRUE(name) << "Xvfb did not start";
        displayName_ = *name;
        display_.reset(XOpenDisplay(displayName_.c_str()));
        ASSERT_TRUE(display_);
    }

    // Puts the pattern onto the root window.
    void drawPattern() {
        Display* d = display_.get();
        const int screen = DefaultScreen(d);
        Visual* visual = DefaultVisual(d, screen);
        XImage* image = XCreateImage(d, visual, static_cast<unsigned>(DefaultDepth(d, screen)), ZPixmap, 0, nullptr,
                                     kScreenWidth, kScreenHeight, 32, 0);
        ASSERT_TRUE(image);
        image->data = static_cast<char*>(std::calloc(static_cast<std::size_t>(image->bytes_per_line), kScreenHeight));
        for (int y = 0; y < kScreenHeight; ++y)
            for (int x = 0; x < kScreenWidth; ++x) {
                const std::uint32_t c = drawnColour(x, y, GetParam());
                XPutPixel(
                    image, x, y,
                    place(c >> 16, visual->red_mask) | place(c >> 8, visual->green_mask) | place(c, visual->blue_mask));
            }
        GC gc = XCreateGC(d, RootWindow(d, screen), 0, nullptr);
        XPutImage(d, RootWindow(d, screen), gc, image, 0, 0, 0, 0, kScreenWidth, kScreenHeight);
        XFreeGC(d, gc);
        XDestroyImage(image);
        XSync(d, False);
    }

    std::unique_ptr<test::ChildProcess> server_;
    std::string displayName_;
    std::unique_ptr<Display, DisplayCloser> display_;
};

TEST_P(X11ScreenCopyTest, CopiesTheRootWindowPixelForPixel) {
    drawPattern();
    X11ScreenCopy copy(displayName_);
    const ScreenPicture picture = copy.CopyScreen(kScreenWidth, kScreenHeight);
    ASSERT_EQ(picture.width, kScreenWidth);
    ASSERT_EQ(picture.height, kScreenHeight);
    int mismatches = 0;
    for (int y = 0; y < kScreenHeight; ++y)
        for (int x = 0; x < kScreenWidth; ++x) mismatches += picture.pixel(x, y) != drawnColour(x, y, GetParam());
    EXPECT_EQ(mismatches, 0);
}

TEST_P(X11ScreenCopyTest, AnAreaBeyondTheScreenIsBlackAndASmallerOneIsCutFromTheOrigin) {
    drawPattern();
    X11ScreenCopy copy(displayName_);
    const ScreenPicture larger = copy.CopyScreen(kScreenWidth + 3, kScreenHeight + 2);
    EXPECT_EQ(larger.pixel(kScreenWidth - 1, kScreenHeight - 1),
              drawnColour(kScreenWidth - 1, kScreenHeight - 1, GetParam()));
    EXPECT_EQ(larger.pixel(kScreenWidth + 2, 0), 0xFF000000u);
    EXPECT_EQ(larger.pixel(0, kScreenHeight + 1), 0xFF000000u);
    const ScreenPicture smaller = copy.CopyScreen(5, 3);
    EXPECT_EQ(smaller.pixel(4, 2), drawnColour(4, 2, GetParam()));
}

INSTANTIATE_TEST_SUITE_P(Depths, X11ScreenCopyTest, ::testing::Values(24, 16));

TEST(X11ScreenCopy, ADisplayThatCannotBeOpenedFails) {
    X11ScreenCopy copy(":4711");
    EXPECT_THROW(copy.CopyScreen(10, 10), ScreenCopyError);
}

}  // namespace
}  // namespace tavlo::screencopy
