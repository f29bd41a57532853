// The sway backend against a real sway (headless, software rendering): the
// picture, at a path that needs every kind of quoting, must reach the screen,
// and a new picture at the same path must replace it.
#include "ChildProcess.h"
#include "MissingTool.h"
#include "SwayWallpaper.h"
#include "TempFolder.h"

#include "BmpFormat.h"
#include "Picture.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <array>
#include <thread>

namespace tavlo::wallpaper {
namespace {

namespace fs = std::filesystem;
using Rgb = std::array<int, 3>;
constexpr Rgb kRed{255, 0, 0}, kBlue{0, 0, 255};

// sway refuses to run as root; the tests then run it as nobody.
constexpr int kNobody = 65534;

void writeTwoPixels(const Rgb& left, const Rgb& right, const fs::path& path) {
    imaging::Bitmap bitmap(2, 1, 24);
    for (int x = 0; x < 2; ++x) {
        const Rgb& c = x == 0 ? left : right;
        for (int i = 0; i < 3; ++i)
            bitmap.row(0)[3 * x + i] = static_cast<std::uint8_t>(c[static_cast<std::size_t>(2 - i)]);
    }
    imaging::writeBmp(bitmap, path);
    fs::permissions(path,
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read);
}

bool near(const imaging::Bitmap& shot, int x, int y, const Rgb& expected) {
    const std::uint8_t* pixel = shot.row(y) + 3 * x;
    const Rgb seen{pixel[2], pixel[1], pixel[0]};
    for (std::size_t i = 0; i < 3; ++i)
        if (std::abs(seen[i] - expected[i]) > 8) return false;
    return true;
}

class RealSwayTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* program : {"sway", "swaybg", "grim", "setpriv"})
            TAVLO_REQUIRE_TOOL(test::programInPath(program), program);
        fs::permissions(folder_.path(), fs::perms::all & ~fs::perms::group_write & ~fs::perms::others_write);
        runtime_ = folder_ / "run";
        fs::create_directory(runtime_);
        fs::permissions(runtime_, fs::perms::owner_all);
        std::vector<std::string> command{"env",
                                         "-u",
                                         "DISPLAY",
                                         "-u",
                                         "WAYLAND_DISPLAY",
                                         "HOME=" + folder_.path().string(),
                                         "XDG_RUNTIME_DIR=" + runtime_.string(),
                                         "WLR_BACKENDS=headless",
                                         "WLR_LIBINPUT_NO_DEVICES=1",
                                         "WLR_RENDERER=pixman"};
        if (getuid() == 0) {
            ASSERT_EQ(chown(runtime_.c_str(), kNobody, kNobody), 0);
            for (const char* argument : {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"})
                command.push_back(argument);
        }
        test::writeFileBytes(folder_ / "config", "output HEADLESS-1 mode 320x240\n");
        for (const char* argument : {"sway", "-c"}) command.push_back(argument);
        command.push_back((folder_ / "config").string());
        sway_ = std::make_unique<test::ChildProcess>(command);
        ASSERT_TRUE(waitForSockets()) << "sway did not start";
    }

    bool waitForSockets() {
        for (int attempt = 0; attempt < 200; ++attempt) {
            for (const fs::directory_entry& entry : fs::directory_iterator(runtime_)) {
                const std::string name = entry.path().filename().string();
                if (name.rfind("sway-ipc.", 0) == 0)
                    ipcSocket_ = entry.path().string();
                else if (name.rfind("wayland-", 0) == 0 && name.find(".lock") == std::string::npos)
                    waylandDisplay_ = name;
            }
            if (!ipcSocket_.empty() && !waylandDisplay_.empty()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }

    // Waits until the screen shows `left` in its left half and `right` in its
    // right half (swaybg draws a moment after sway has answered).
    bool screenShows(const Rgb& left, const Rgb& right) {
        const fs::path shot = folder_ / "shot.png";
        const std::string grim = "XDG_RUNTIME_DIR='" + runtime_.string() + "' WAYLAND_DISPLAY=" + waylandDisplay_ +
                                 " grim '" + shot.string() + "'";
        for (int attempt = 0; attempt < 200; ++attempt) {
            if (test::runCommand(grim).status == 0) {
                const imaging::Bitmap screen = imaging::toBgr24(imaging::loadPicture(shot));
                if (screen.width() == 320 && near(screen, 80, 120, left) && near(screen, 240, 120, right)) return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }

    test::TempFolder folder_;
    fs::path runtime_;
    std::unique_ptr<test::ChildProcess> sway_;
    std::string ipcSocket_, waylandDisplay_;
};

TEST_F(RealSwayTest, ShowsThePictureStretchedAndANewOneAtTheSamePath) {
    const fs::path pictures = folder_ / "it's a \"q\" $HOME [x] ;,\\ 程序  two  spaces~";
    fs::create_directory(pictures);
    fs::permissions(pictures, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                  fs::perms::others_read | fs::perms::others_exec);
    const fs::path path = pictures / "Mix.bmp";

    writeTwoPixels(kRed, kBlue, path);
    SwayWallpaper(ipcSocket_).SetWallpaper(path);
    EXPECT_TRUE(screenShows(kRed, kBlue));

    writeTwoPixels(kBlue, kRed, path);
    SwayWallpaper(ipcSocket_).SetWallpaper(path);
    EXPECT_TRUE(screenShows(kBlue, kRed));
}

}  // namespace
}  // namespace tavlo::wallpaper
