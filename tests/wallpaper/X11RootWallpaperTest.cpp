// The root-window painter against a real X server (Xvfb -noreset, so that the
// root keeps its background when the last client leaves).
#include <gtest/gtest.h>  // before Xlib, whose macros (None, Bool) clash with it

#include "ChildProcess.h"
#include "MissingTool.h"
#include "TempFolder.h"
#include "X11Monitors.h"
#include "X11RootWallpaper.h"

#include "BmpFormat.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <array>
#include <bit>
#include <memory>
#include <optional>
#include <set>

namespace tavlo::wallpaper {
namespace {

using Rgb = std::array<std::uint8_t, 3>;
constexpr Rgb kRed{255, 0, 0}, kGreen{0, 255, 0}, kBlue{0, 0, 255}, kWhite{255, 255, 255}, kBlack{0, 0, 0},
    kYellow{255, 255, 0}, kCyan{0, 255, 255}, kMagenta{255, 0, 255};

constexpr int kScreenWidth = 320, kScreenHeight = 240;

// Rows top-down. Channels are 0 or 255 only, so that they survive a 16-bit
// screen exactly.
using Picture = std::vector<std::vector<Rgb>>;
const Picture kFirst = {
    {kRed, kGreen, kBlue, kWhite},
    {kYellow, kCyan, kMagenta, kBlack},
    {kWhite, kRed, kGreen, kBlue},
};
const Picture kSecond = {
    {kMagenta, kYellow},
    {kCyan, kWhite},
};

void writePicture(const Picture& picture, const std::filesystem::path& path) {
    imaging::Bitmap bitmap(static_cast<int>(picture[0].size()), static_cast<int>(picture.size()), 24);
    for (int y = 0; y < bitmap.height(); ++y)
        for (int x = 0; x < bitmap.width(); ++x) {
            const Rgb& c = picture[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
            std::uint8_t* pixel = bitmap.row(y) + 3 * x;
            pixel[0] = c[2], pixel[1] = c[1], pixel[2] = c[0];
        }
    imaging::writeBmp(bitmap, path);
}

// Errors of the test's own requests, recorded instead of ending the process.
int lastXError = 0;
int recordXError(Display*, XErrorEvent* event) {
    lastXError = event->error_code;
    return 0;
}

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};
using DisplayPtr = std::unique_ptr<Display, DisplayCloser>;

std::uint8_t channel(unsigned long pixel, unsigned long mask) {
    const int shift = std::countr_zero(mask);
    const unsigned long maximum = mask >> shift;
    return static_cast<std::uint8_t>(((pixel & mask) >> shift) * 255 / maximum);
}

class X11RootWallpaperTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        TAVLO_REQUIRE_TOOL(test::programInPath("Xvfb"), "Xvfb");
        const std::optional<std::string> name = test::startXvfb(
            server_,
            std::to_string(kScreenWidth) + "x" + std::to_string(kScreenHeight) + "x" + std::to_string(GetParam()),
            {"-noreset"});
        ASSERT_TRUE(name) << "Xvfb did not start";
        displayName_ = *name;
        display_.reset(XOpenDisplay(displayName_.c_str()));
        ASSERT_TRUE(display_);
        previousHandler_ = XSetErrorHandler(recordXError);
    }

    void TearDown() override {
        if (previousHandler_) XSetErrorHandler(previousHandler_);
    }

    Window root() const { return DefaultRootWindow(display_.get()); }

    std::optional<Pixmap> pixmapProperty(const char* name) const {
        const Atom property = XInternAtom(display_.get(), name, False);
        Atom type;
        int format;
        unsigned long count, remaining;
        unsigned char* data = nullptr;
        XGetWindowProperty(display_.get(), root(), property, 0, 1, False, XA_PIXMAP, &type, &format, &count, &remaining,
                           &data);
        std::optional<Pixmap> result;
        if (data && type == XA_PIXMAP && count == 1) result = *reinterpret_cast<Pixmap*>(data);
        if (data) XFree(data);
        return result;
    }

    bool pixmapExists(Pixmap pixmap) const {
        Window rootReturn;
        int x, y;
        unsigned width, height, border, depth;
        lastXError = 0;
        const Status status =
            XGetGeometry(display_.get(), pixmap, &rootReturn, &x, &y, &width, &height, &border, &depth);
        XSync(display_.get(), False);
        return status != 0 && lastXError == 0;
    }

    std::vector<Rgb> screenRow(Drawable drawable, int y) const {
        XImage* image = XGetImage(display_.get(), drawable, 0, y, kScreenWidth, 1, AllPlanes, ZPixmap);
        std::vector<Rgb> row;
        if (!image) return row;
        const Visual* visual = DefaultVisual(display_.get(), DefaultScreen(display_.get()));
        for (int x = 0; x < kScreenWidth; ++x) {
            const unsigned long pixel = XGetPixel(image, x, 0);
            row.push_back({channel(pixel, visual->red_mask), channel(pixel, visual->green_mask),
                           channel(pixel, visual->blue_mask)});
        }
        XDestroyImage(image);
        return row;
    }

    // The number of picture pixels whose stretched cell, around its centre,
    // shows another colour on the screen. Between the centres a smooth
    // stretch blends neighbours; at them it shows each pixel as it is.
    int mismatchesWithStretched(Drawable drawable, const Picture& picture) const {
        const int rows = static_cast<int>(picture.size()), columns = static_cast<int>(picture[0].size());
        const int cellWidth = kScreenWidth / columns, cellHeight = kScreenHeight / rows;
        int mismatches = 0;
        for (int r = 0; r < rows; ++r) {
            const std::vector<Rgb> row = screenRow(drawable, r * cellHeight + cellHeight / 2);
            if (row.empty()) return -1;
            for (int c = 0; c < columns; ++c) {
                const Rgb& expected = picture[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)];
                const Rgb& seen = row[static_cast<std::size_t>(c * cellWidth + cellWidth / 2)];
                bool same = true;
                for (std::size_t i = 0; i < 3; ++i) same = same && std::abs(seen[i] - expected[i]) <= 10;
                mismatches += !same;
            }
        }
        return mismatches;
    }

    test::TempFolder folder_;
    std::unique_ptr<test::ChildProcess> server_;
    std::string displayName_;
    DisplayPtr display_;
    XErrorHandler previousHandler_ = nullptr;
};

TEST_P(X11RootWallpaperTest, StretchesThePictureOverTheRootAndKeepsItAfterExit) {
    const auto path = folder_ / "Mix.bmp";
    writePicture(kFirst, path);

    X11RootWallpaper(displayName_).SetWallpaper(path);

    EXPECT_EQ(mismatchesWithStretched(root(), kFirst), 0);
    const std::optional<Pixmap> announced = pixmapProperty("_XROOTPMAP_ID");
    ASSERT_TRUE(announced);
    EXPECT_EQ(pixmapProperty("ESETROOT_PMAP_ID"), announced);
    // The setter's connection is closed by now; the pixmap is still there.
    EXPECT_TRUE(pixmapExists(*announced));
    EXPECT_EQ(mismatchesWithStretched(*announced, kFirst), 0);
}

TEST_P(X11RootWallpaperTest, NewPictureAtTheSamePathReplacesTheOldAndFreesItsPixmap) {
    const auto path = folder_ / "Mix.bmp";
    writePicture(kFirst, path);
    X11RootWallpaper(displayName_).SetWallpaper(path);
    const Pixmap first = pixmapProperty("_XROOTPMAP_ID").value_or(None);

    writePicture(kSecond, path);
    X11RootWallpaper(displayName_).SetWallpaper(path);

    EXPECT_EQ(mismatchesWithStretched(root(), kSecond), 0);
    const std::optional<Pixmap> second = pixmapProperty("_XROOTPMAP_ID");
    ASSERT_TRUE(second);
    EXPECT_NE(*second, first);
    EXPECT_TRUE(pixmapExists(*second));
    EXPECT_FALSE(pixmapExists(first));
}

// A running desktop that announced its own pixmap only in _XROOTPMAP_ID did not
// offer it for freeing: ending its owner would end that desktop.
TEST_P(X11RootWallpaperTest, LeavesAPixmapThatWasNotOfferedForFreeing) {
    DisplayPtr desktop(XOpenDisplay(displayName_.c_str()));
    ASSERT_TRUE(desktop);
    const Pixmap own = XCreatePixmap(desktop.get(), DefaultRootWindow(desktop.get()), 8, 8,
                                     static_cast<unsigned>(DefaultDepth(desktop.get(), 0)));
    XChangeProperty(desktop.get(), DefaultRootWindow(desktop.get()), XInternAtom(desktop.get(), "_XROOTPMAP_ID", False),
                    XA_PIXMAP, 32, PropModeReplace, reinterpret_cast<const unsigned char*>(&own), 1);
    XSync(desktop.get(), False);
    const auto path = folder_ / "Mix.bmp";
    writePicture(kFirst, path);

    X11RootWallpaper(displayName_).SetWallpaper(path);

    const bool survived = pixmapExists(own);
    EXPECT_TRUE(survived);
    if (!survived) (void)desktop.release();  // its connection is dead; closing it would end the test program
}

TEST_P(X11RootWallpaperTest, StalePreviousPixmapDoesNotStopTheNewOne) {
    // Both properties still name a pixmap whose owner is long gone.
    const Pixmap stale = 0x3a00001;
    for (const char* name : {"_XROOTPMAP_ID", "ESETROOT_PMAP_ID"})
        XChangeProperty(display_.get(), root(), XInternAtom(display_.get(), name, False), XA_PIXMAP, 32,
                        PropModeReplace, reinterpret_cast<const unsigned char*>(&stale), 1);
    XSync(display_.get(), False);
    const auto path = folder_ / "Mix.bmp";
    writePicture(kSecond, path);

    X11RootWallpaper(displayName_).SetWallpaper(path);

    EXPECT_EQ(mismatchesWithStretched(root(), kSecond), 0);
}

// Scaled up, the edge between two colours becomes a blend, as every desktop's
// own painter draws it, not a step.
TEST_P(X11RootWallpaperTest, StretchesSmoothly) {
    const auto path = folder_ / "Mix.bmp";
    writePicture({{kRed, kBlue}}, path);

    X11RootWallpaper(displayName_).SetWallpaper(path);

    const std::vector<Rgb> row = screenRow(root(), kScreenHeight / 2);
    ASSERT_EQ(row.size(), static_cast<std::size_t>(kScreenWidth));
    std::set<Rgb> colours(row.begin(), row.end());
    EXPECT_GT(colours.size(), 16u);
    for (std::size_t x = 1; x < row.size(); ++x) {
        EXPECT_LE(row[x][0], row[x - 1][0]) << x;  // red fades out
        EXPECT_GE(row[x][2], row[x - 1][2]) << x;  // as blue comes in
    }
}

// A desktop program's window over the root hides whatever is painted there.
TEST_P(X11RootWallpaperTest, RefusesARootThatADesktopWindowCovers) {
    DisplayPtr desktop(XOpenDisplay(displayName_.c_str()));
    ASSERT_TRUE(desktop);
    Display* d = desktop.get();
    const Window window = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, kScreenWidth, kScreenHeight, 0, 0, 0);
    const Atom type = XInternAtom(d, "_NET_WM_WINDOW_TYPE", False);
    const Atom desktopType = XInternAtom(d, "_NET_WM_WINDOW_TYPE_DESKTOP", False);
    XChangeProperty(d, window, type, XA_ATOM, 32, PropModeReplace, reinterpret_cast<const unsigned char*>(&desktopType),
                    1);
    XClassHint hint{const_cast<char*>("somedesktop"), const_cast<char*>("SomeDesktop")};
    XSetClassHint(d, window, &hint);
    XMapWindow(d, window);
    XSync(d, False);
    const auto path = folder_ / "Mix.bmp";
    writePicture(kFirst, path);

    try {
        X11RootWallpaper(displayName_).SetWallpaper(path);
        FAIL() << "a covered root was reported as set";
    } catch (const WallpaperError& error) {
        EXPECT_EQ(error.cause(), "桌面程序 somedesktop 的窗口盖住了根窗口，画在根窗口上的壁纸看不见");
    }
    EXPECT_FALSE(pixmapProperty("_XROOTPMAP_ID"));
}

TEST_P(X11RootWallpaperTest, UnreadablePictureIsReportedAndLeavesTheRootAlone) {
    const auto path = folder_ / "Mix.bmp";
    writePicture(kFirst, path);
    X11RootWallpaper(displayName_).SetWallpaper(path);
    test::writeFileBytes(path, "not a picture");

    try {
        X11RootWallpaper(displayName_).SetWallpaper(path);
        FAIL() << "no error";
    } catch (const WallpaperError& error) {
        EXPECT_EQ(error.cause(), "无法读取壁纸图片");
        EXPECT_EQ(std::string(error.what()).rfind("x11: cannot read the picture: ", 0), 0u) << error.what();
    }
    EXPECT_EQ(mismatchesWithStretched(root(), kFirst), 0);
}

// Two RandR monitors, a landscape one and a portrait one beside it, on a
// screen larger than both: each gets its own picture in its rectangle, and
// what no monitor shows stays black.
TEST_P(X11RootWallpaperTest, EachRandrMonitorShowsItsOwnPicture) {
    TAVLO_REQUIRE_TOOL(test::programInPath("xrandr"), "xrandr");
    const std::string xrandr = "DISPLAY=" + displayName_ + " xrandr ";
    ASSERT_EQ(test::runCommand(xrandr + "--setmonitor LEFT 200/53x120/32+0+0 screen >/dev/null 2>&1").status, 0);
    ASSERT_EQ(test::runCommand(xrandr + "--setmonitor RIGHT 100/27x200/53+200+0 none >/dev/null 2>&1").status, 0);
    const std::optional<MonitorLayout> monitors = randrMonitors(displayName_);
    ASSERT_TRUE(monitors);
    ASSERT_EQ(monitors->size(), 2u);
    // Xvfb flags no monitor primary: the one at the origin stands for it.
    EXPECT_EQ(primaryMonitor(*monitors), (Monitor{"LEFT", 0, 0, 200, 120, false}));

    const Picture red = {{kRed}}, blue = {{kBlue}};
    writePicture(red, folder_ / "Mix.bmp");
    writePicture(blue, folder_ / "Mix-RIGHT.bmp");
    std::vector<MonitorPicture> pictures;
    for (const Monitor& monitor : *monitors)
        pictures.push_back({monitor, folder_ / (monitor.name == "LEFT" ? "Mix.bmp" : "Mix-RIGHT.bmp")});
    X11RootWallpaper(displayName_).SetMonitorWallpapers(pictures);

    const std::vector<Rgb> top = screenRow(root(), 60), bottom = screenRow(root(), 220);
    ASSERT_EQ(top.size(), static_cast<std::size_t>(kScreenWidth));
    EXPECT_EQ(top[0], kRed);
    EXPECT_EQ(top[199], kRed);
    EXPECT_EQ(top[200], kBlue);
    EXPECT_EQ(top[319], kBlack);     // right of the portrait monitor
    EXPECT_EQ(bottom[100], kBlack);  // below the landscape monitor
    EXPECT_EQ(bottom[250], kBlack);  // below the portrait monitor's 200 rows
    EXPECT_EQ(screenRow(root(), 190)[250], kBlue);
}

INSTANTIATE_TEST_SUITE_P(Depths, X11RootWallpaperTest, ::testing::Values(24, 16),
                         [](const auto& info) { return "Depth" + std::to_string(info.param); });

TEST(X11RootWallpaperErrors, MissingDisplayIsReported) {
    test::TempFolder folder;
    writePicture(kFirst, folder / "Mix.bmp");
    try {
        X11RootWallpaper(":9999").SetWallpaper(folder / "Mix.bmp");
        FAIL() << "no error";
    } catch (const WallpaperError& error) {
        EXPECT_EQ(error.cause(), "无法打开 X 显示 :9999");
    }
}

}  // namespace
}  // namespace tavlo::wallpaper
