// The LXQt and LXDE backends against the desktops' own programs, running
// their desktops (pcmanfm-qt --desktop, pcmanfm --desktop) on a private X
// server and session bus: the screen, read back, must show the picture
// stretched, a new picture at the same path must replace it, and a picture
// the desktop cannot load must be a failure that leaves the screen as it was.
#include <gtest/gtest.h>  // before Xlib, whose macros (None, Bool) clash with it

#include "BmpFormat.h"
#include "ChildProcess.h"
#include "MissingTool.h"
#include "PcmanfmWallpaper.h"
#include "PrivateSessionBus.h"
#include "TempFolder.h"
#include "WallpaperFactory.h"
#include "X11DesktopWindow.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <thread>

namespace tavlo::wallpaper {
namespace {

namespace fs = std::filesystem;
using Rgb = std::array<int, 3>;
constexpr Rgb kRed{255, 0, 0}, kBlue{0, 0, 255};
constexpr int kWidth = 320, kHeight = 240;

struct Desktop {
    const char* program;
    BackendKind kind;
};

void writeTwoPixels(const Rgb& left, const Rgb& right, const fs::path& path) {
    imaging::Bitmap bitmap(2, 1, 24);
    for (int x = 0; x < 2; ++x)
        for (int i = 0; i < 3; ++i)
            bitmap.row(0)[3 * x + i] =
                static_cast<std::uint8_t>((x == 0 ? left : right)[static_cast<std::size_t>(2 - i)]);
    // As the composition writes it: a new file put in the old one's place.
    const fs::path partial = path.string() + ".new";
    imaging::writeBmp(bitmap, partial);
    fs::rename(partial, path);
}

class RealDesktopProgramTest : public ::testing::TestWithParam<Desktop> {
protected:
    void SetUp() override {
        for (const char* program : {"Xvfb", GetParam().program})
            TAVLO_REQUIRE_TOOL(test::programInPath(program), program);
        TAVLO_REQUIRE_TOOL(test::PrivateSessionBus::instance(), "dbus-daemon");
        const std::optional<std::string> name = test::startXvfb(server_, "320x240x24", {"-noreset"});
        ASSERT_TRUE(name) << "Xvfb did not start";
        for (const char* variable :
             {"WAYLAND_DISPLAY", "SWAYSOCK", "XDG_CURRENT_DESKTOP", "XDG_SESSION_DESKTOP", "DESKTOP_SESSION",
              "KDE_FULL_SESSION", "GNOME_DESKTOP_SESSION_ID", "MATE_DESKTOP_SESSION_ID"})
            unsetenv(variable);
        setenv("DISPLAY", name->c_str(), 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);  // the test run's offscreen Qt would give pcmanfm-qt no window
        setenv("HOME", folder_.path().c_str(), 1);
        setenv("XDG_CACHE_HOME", (folder_ / "cache").c_str(), 1);
        display_ = XOpenDisplay(name->c_str());
        ASSERT_TRUE(display_);
        desktop_ = std::make_unique<test::ChildProcess>(std::vector<std::string>{GetParam().program, "--desktop"});
        ASSERT_TRUE(test::waitFor([&] {
            const auto window = findDesktopWindow(display_);
            return window && window->program == GetParam().program;
        })) << "the desktop did not come up";
        mix_ = folder_ / "程序" / "source" / "DeskTopBG" / "Mix.bmp";
        fs::create_directories(mix_.parent_path());
    }

    void TearDown() override {
        desktop_.reset();
        if (display_) XCloseDisplay(display_);
        unsetenv("DISPLAY");
    }

    Rgb screenAt(int x, int y) const {
        XImage* image = XGetImage(display_, DefaultRootWindow(display_), x, y, 1, 1, AllPlanes, ZPixmap);
        if (!image) return {-1, -1, -1};
        const unsigned long pixel = XGetPixel(image, 0, 0);
        XDestroyImage(image);
        return {static_cast<int>((pixel >> 16) & 0xff), static_cast<int>((pixel >> 8) & 0xff),
                static_cast<int>(pixel & 0xff)};
    }

    static bool near(const Rgb& seen, const Rgb& expected) {
        for (std::size_t i = 0; i < 3; ++i)
            if (std::abs(seen[i] - expected[i]) > 12) return false;
        return true;
    }

    // The left and right quarters of the screen show these colours.
    bool screenShows(const Rgb& left, const Rgb& right) const {
        return test::waitFor([&] {
            return near(screenAt(kWidth / 16, kHeight / 2), left) &&
                   near(screenAt(kWidth - kWidth / 16, kHeight / 2), right);
        });
    }

    test::TempFolder folder_;
    std::unique_ptr<test::ChildProcess> server_, desktop_;
    Display* display_ = nullptr;
    fs::path mix_;
};

TEST_P(RealDesktopProgramTest, ShowsEachPictureStretchedAndRefusesOneItCannotLoad) {
    // Named by nothing but its desktop window.
    const BackendChoice choice = chooseBackend();
    ASSERT_EQ(backendName(choice.kind), backendName(GetParam().kind)) << choice.reason;
    const auto backend = createProgramBackend(choice, folder_ / "程序");

    writeTwoPixels(kRed, kBlue, mix_);
    backend->SetWallpaper(mix_);
    EXPECT_TRUE(screenShows(kRed, kBlue));

    writeTwoPixels(kBlue, kRed, mix_);
    backend->SetWallpaper(mix_);
    EXPECT_TRUE(screenShows(kBlue, kRed));

    test::writeFileBytes(mix_, "not a picture");
    try {
        backend->SetWallpaper(mix_);
        ADD_FAILURE() << "a picture the desktop could not load was reported as set";
    } catch (const WallpaperError& error) {
        EXPECT_EQ(error.cause(), "无法读取壁纸图片");
    }
    EXPECT_TRUE(screenShows(kBlue, kRed));
}

// One picture across all monitors: LXDE's desktop in its mode for that
// ("screen"), LXQt's stretched; either way the screen shows it whole.
TEST_P(RealDesktopProgramTest, TakesAPictureAcrossTheMonitors) {
    const auto backend = createProgramBackend(chooseBackend(), folder_ / "程序");
    const fs::path spanned = mix_.parent_path() / "Mix-spanned.bmp";
    writeTwoPixels(kBlue, kRed, spanned);
    backend->SetSpannedWallpaper(spanned);
    EXPECT_TRUE(screenShows(kBlue, kRed));
}

// Stand-ins for the desktop programs, first in PATH, with configuration and
// cache folders of their own; the environment is put back afterwards.
class FakeDesktopPrograms {
public:
    FakeDesktopPrograms(const fs::path& folder, const std::string& pcmanfm, const std::string& pcmanfmQt)
        : path_(getenv("PATH")), configHome_(getenv("XDG_CONFIG_HOME") ? getenv("XDG_CONFIG_HOME") : "") {
        const fs::path bin = folder / "bin";
        fs::create_directories(bin);
        for (const auto& [program, script] : {std::pair{"pcmanfm", pcmanfm}, std::pair{"pcmanfm-qt", pcmanfmQt}}) {
            test::writeFileBytes(bin / program, "#!/bin/sh\n" + script);
            fs::permissions(bin / program, fs::perms::owner_all);
        }
        setenv("PATH", (bin.string() + ":" + path_).c_str(), 1);
        setenv("XDG_CONFIG_HOME", (folder / "config").c_str(), 1);
        setenv("XDG_CACHE_HOME", (folder / "cache").c_str(), 1);
    }
    ~FakeDesktopPrograms() {
        setenv("PATH", path_.c_str(), 1);
        setenv("XDG_CONFIG_HOME", configHome_.c_str(), 1);
        unsetenv("XDG_CACHE_HOME");
    }
    FakeDesktopPrograms(const FakeDesktopPrograms&) = delete;
    FakeDesktopPrograms& operator=(const FakeDesktopPrograms&) = delete;

private:
    std::string path_, configHome_;
};

// A desktop program that takes the request and never loads the picture (one
// in a format it cannot read, say) leaves its settings and cache untouched.
TEST(PcmanfmWallpaper, ARequestTheDesktopNeverCarriedOutIsAFailure) {
    test::TempFolder folder;
    const std::string logCalls = "echo \"$@\" >> \"$0.calls\"\n";
    const FakeDesktopPrograms programs(folder.path(), logCalls, logCalls);
    const fs::path bin = folder / "bin";
    const fs::path picture = folder / "Mix.bmp";
    writeTwoPixels(kRed, kBlue, picture);

    for (const Desktop desktop : {Desktop{"pcmanfm-qt", BackendKind::Lxqt}, Desktop{"pcmanfm", BackendKind::Lxde}}) {
        SCOPED_TRACE(desktop.program);
        try {
            PcmanfmWallpaper(desktop.kind, std::chrono::milliseconds(300)).SetWallpaper(picture);
            ADD_FAILURE() << "reported as set";
        } catch (const WallpaperError& error) {
            EXPECT_EQ(error.cause(), (desktop.kind == BackendKind::Lxqt ? "LXQt" : std::string("LXDE")) +
                                         " 的桌面程序 " + desktop.program + " 没有载入这张图片");
        }
        EXPECT_EQ(test::readFileBytes(bin / (std::string(desktop.program) + ".calls")),
                  "--set-wallpaper " + picture.string() + " --wallpaper-mode stretch\n");
    }
}

// The desktop's files rewritten, but naming another picture: not taken.
// The same rewrite naming ours is, so the picture's name is what decides.
TEST(PcmanfmWallpaper, OnlyTheDesktopsWordForThisPictureCounts) {
    test::TempFolder folder;
    // What each desktop program leaves when it loads the picture named in $NAMED.
    const FakeDesktopPrograms programs(
        folder.path(),
        "mkdir -p \"$XDG_CONFIG_HOME/pcmanfm/LXDE\"\n"
        "printf '[*]\\nwallpaper=%s\\nwallpaper_mode=stretch\\n' \"$NAMED\" "
        "> \"$XDG_CONFIG_HOME/pcmanfm/LXDE/desktop-items-0.conf\"\n",
        "mkdir -p \"$XDG_CACHE_HOME/pcmanfm-qt/lxqt\"\n"
        "printf '%s' \"$NAMED\" > \"$XDG_CACHE_HOME/pcmanfm-qt/lxqt/wallpaper.cache.info\"\n");
    const fs::path picture = folder / "Mix.bmp";
    writeTwoPixels(kRed, kBlue, picture);

    for (const BackendKind kind : {BackendKind::Lxqt, BackendKind::Lxde}) {
        SCOPED_TRACE(backendName(kind));
        setenv("NAMED", (folder / "elsewhere.png").c_str(), 1);
        EXPECT_THROW(PcmanfmWallpaper(kind, std::chrono::milliseconds(300)).SetWallpaper(picture), WallpaperError);
        setenv("NAMED", picture.c_str(), 1);
        EXPECT_NO_THROW(PcmanfmWallpaper(kind, std::chrono::milliseconds(3000)).SetWallpaper(picture));
    }
    unsetenv("NAMED");
}

INSTANTIATE_TEST_SUITE_P(Desktops, RealDesktopProgramTest,
                         ::testing::Values(Desktop{"pcmanfm-qt", BackendKind::Lxqt},
                                           Desktop{"pcmanfm", BackendKind::Lxde}),
                         [](const auto& info) { return info.param.kind == BackendKind::Lxqt ? "Lxqt" : "Lxde"; });

}  // namespace
}  // namespace tavlo::wallpaper
