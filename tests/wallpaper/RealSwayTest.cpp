// The sway backend against a real sway (headless, software rendering): the
// picture, at a path that needs every kind of quoting, must reach the screen,
// and a new picture at the same path must replace it. The same sway, named as
// another wlroots compositor and reached without its IPC, stands for the
// compositors that get a background client (swaybg) instead.
#include "ChildProcess.h"
#include "MissingTool.h"
#include "SwayWallpaper.h"
#include "SwaybgWallpaper.h"
#include "TempFolder.h"

#include "BmpFormat.h"
#include "Picture.h"
#include "SettingsFile.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <optional>
#include <thread>
#include <vector>

namespace tavlo::wallpaper {
namespace {

namespace fs = std::filesystem;
using Rgb = std::array<int, 3>;
constexpr Rgb kRed{255, 0, 0}, kBlue{0, 0, 255}, kGreen{0, 255, 0};

// sway refuses to run as root; the tests then run it, and its clients, as nobody.
constexpr int kNobody = 65534;

void writeTwoPixels(const Rgb& left, const Rgb& right, const fs::path& path) {
    imaging::Bitmap bitmap(2, 1, 24);
    for (int x = 0; x < 2; ++x) {
        const Rgb& c = x == 0 ? left : right;
        for (int i = 0; i < 3; ++i)
            bitmap.row(0)[3 * x + i] = static_cast<std::uint8_t>(c[static_cast<std::size_t>(2 - i)]);
    }
    const fs::path partial = path.string() + ".new";
    imaging::writeBmp(bitmap, partial);
    fs::permissions(partial,
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read);
    fs::rename(partial, path);
}

bool near(const imaging::Bitmap& shot, int x, int y, const Rgb& expected) {
    const std::uint8_t* pixel = shot.row(y) + 3 * x;
    const Rgb seen{pixel[2], pixel[1], pixel[0]};
    for (std::size_t i = 0; i < 3; ++i)
        if (std::abs(seen[i] - expected[i]) > 8) return false;
    return true;
}

std::string quoted(const std::string& text) {
    return "'" + text + "'";
}

// The command prefix that runs a program as the session's user.
std::string asSessionUser() {
    return getuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";
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
        if (getuid() == 0) {
            ASSERT_EQ(chown(runtime_.c_str(), kNobody, kNobody), 0);
        }
        test::writeFileBytes(folder_ / "config", config_);
        sway_ = std::make_unique<test::ChildProcess>(std::vector<std::string>{
            "sh", "-c",
            "exec " + asSessionUser() + "env -u DISPLAY -u WAYLAND_DISPLAY HOME=" + quoted(folder_.path().string()) +
                " XDG_RUNTIME_DIR=" + quoted(runtime_.string()) +
                " WLR_BACKENDS=headless WLR_HEADLESS_OUTPUTS=" + std::to_string(outputs_) +
                " WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman sway -c " + quoted((folder_ / "config").string())});
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

    // The environment of a client of the session: its user, its runtime
    // folder and compositor, nothing of the test machine's session.
    std::string client(const std::string& variables) const {
        return asSessionUser() +
               "env -u DISPLAY -u SWAYSOCK -u XDG_SESSION_DESKTOP -u DESKTOP_SESSION XDG_RUNTIME_DIR=" +
               quoted(runtime_.string()) + " WAYLAND_DISPLAY=" + waylandDisplay_ + " " + variables + " ";
    }

    // Waits until the screen shows `left` in its left half and `right` in its
    // right half (a background client draws a moment after it is asked).
    bool screenShows(const Rgb& left, const Rgb& right) {
        const fs::path shot = runtime_ / "shot.png";  // the session user writes it
        const std::string grim = "grim " + quoted(shot.string());
        for (int attempt = 0; attempt < 200; ++attempt) {
            const test::CommandResult taken = test::runCommand(client("") + grim + " 2>&1");
            if (taken.status == 0) {
                const imaging::Bitmap screen = imaging::toBgr24(imaging::loadPicture(shot));
                if (screen.width() == 320 && near(screen, 80, 120, left) && near(screen, 240, 120, right)) return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }

    // The background client the program started last, as it recorded it.
    pid_t recordedClient() const {
        const std::string record = test::readFileBytes(runtime_ / ("tavlo-swaybg-" + waylandDisplay_ + ".pid"));
        return static_cast<pid_t>(std::atol(record.c_str()));
    }

    static bool alive(pid_t pid) { return pid > 0 && ::kill(pid, 0) == 0; }

    std::string config_ = "output HEADLESS-1 mode 320x240\n";
    int outputs_ = 1;
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

// A compositor without a wallpaper interface of its own: the program starts a
// background client that outlives it, replaces only the one it started
// before, and a picture the client cannot load is a failure that leaves the
// screen as it was. The desktop forgets the client at logout, so the picture
// is to be set again at login.
TEST_F(RealSwayTest, OtherCompositorsGetABackgroundClientThatOnlyTheProgramReplaces) {
    const fs::path program = folder_ / "程序";
    const fs::path mix = program / "source" / "DeskTopBG" / "Mix.bmp";
    const fs::path config = folder_ / "home-config";
    for (const fs::path& made : {mix.parent_path(), config}) fs::create_directories(made);
    writeTwoPixels(kGreen, kGreen, folder_ / "theirs.bmp");
    if (getuid() == 0) {
        for (const fs::path& owned : {program, program / "source", mix.parent_path(), config}) {
            ASSERT_EQ(chown(owned.c_str(), kNobody, kNobody), 0);
        }
    }
    // A background client of the user's own (for an output not connected
    // now): not the program's to end.
    test::ChildProcess theirs(
        {"sh", "-c",
         "exec " + client("") + "swaybg -o HDMI-A-9 -m stretch -i " + quoted((folder_ / "theirs.bmp").string())});
    const std::string tool = client("XDG_CURRENT_DESKTOP=Hyprland XDG_CONFIG_HOME=" + quoted(config.string())) +
                             quoted(TAVLO_WALLPAPER_TOOL) + " --folder " + quoted(program.string()) + " set " +
                             quoted(mix.string()) + " 2>&1";

    writeTwoPixels(kRed, kBlue, mix);
    test::CommandResult result = test::runCommand(tool);
    EXPECT_EQ(result.status, 0) << result.output;
    EXPECT_EQ(result.output, "swaybg\n");
    EXPECT_TRUE(screenShows(kRed, kBlue));
    const pid_t first = recordedClient();
    EXPECT_TRUE(alive(first));  // it outlives the tool
    EXPECT_TRUE(fs::exists(config / "autostart" / "tavlo-wallpaper.desktop"));

    writeTwoPixels(kBlue, kRed, mix);
    result = test::runCommand(tool);
    EXPECT_EQ(result.status, 0) << result.output;
    EXPECT_TRUE(screenShows(kBlue, kRed));
    const pid_t second = recordedClient();
    EXPECT_NE(second, first);
    EXPECT_TRUE(alive(second));
    for (int attempt = 0; attempt < 100 && alive(first); ++attempt)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_FALSE(alive(first));
    EXPECT_TRUE(alive(static_cast<pid_t>(theirs.pid())));

    test::writeFileBytes(mix, "not a picture");
    result = test::runCommand(tool);
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.output.find("无法设置桌面壁纸：swaybg 无法载入这张图片。"), std::string::npos) << result.output;
    EXPECT_TRUE(screenShows(kBlue, kRed));
    EXPECT_EQ(recordedClient(), second);
    EXPECT_TRUE(alive(second));
}

// A laptop screen and a portrait monitor to its right, as sway's headless
// backend makes them; the program's own tool steps the walk.
class RealSwayTwoOutputsTest : public RealSwayTest {
protected:
    RealSwayTwoOutputsTest() {
        config_ =
            "output HEADLESS-1 mode 1280x720 position 0 0\n"
            "output HEADLESS-2 mode 720x1280 position 1280 0\n";
        outputs_ = 2;
    }

    // One output read back, as the session's user sees it.
    std::optional<imaging::Bitmap> output(const std::string& name) const {
        const fs::path shot = runtime_ / (name + ".png");
        const test::CommandResult taken =
            test::runCommand(client("") + "grim -o " + name + " " + quoted(shot.string()) + " 2>&1");
        if (taken.status != 0) return std::nullopt;
        return imaging::toBgr24(imaging::loadPicture(shot));
    }

    // Waits until `name` shows `expected` at each of `points`.
    bool outputShows(const std::string& name, const std::vector<std::pair<std::pair<int, int>, Rgb>>& points) {
        for (int attempt = 0; attempt < 100; ++attempt) {
            if (const auto shot = output(name)) {
                bool all = true;
                for (const auto& [at, colour] : points) all = all && near(*shot, at.first, at.second, colour);
                if (all) return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }
};

void writeHalves(const Rgb& left, const Rgb& right, int width, int height, const fs::path& path) {
    imaging::Bitmap bitmap(width, height, 24);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int i = 0; i < 3; ++i)
                bitmap.row(y)[3 * x + i] =
                    static_cast<std::uint8_t>((x < width / 2 ? left : right)[static_cast<std::size_t>(2 - i)]);
    imaging::writeBmp(bitmap, path);
}

TEST_F(RealSwayTwoOutputsTest, EachOutputShowsItsOwnCompositeWithThePictureAtItsTopRight) {
    const fs::path program = folder_ / "程序";
    const fs::path backgrounds = program / "source" / "DeskTopBG";
    fs::create_directories(backgrounds);
    fs::create_directories(program / "Data");
    writeHalves(kRed, kBlue, 1600, 900, backgrounds / "b0.bmp");
    writeHalves(kRed, kBlue, 1600, 900, backgrounds / "b1.bmp");
    writeHalves(kGreen, kGreen, 100, 50, program / "picture.bmp");
    writeSettingsLines(program / "Data" / "BGPicList.ini", {"b0.bmp", "b1.bmp"});
    writeSettingsLines(program / "Data" / "tmppic.ini", {(program / "picture.bmp").string()});
    if (getuid() == 0) {
        const test::CommandResult owned = test::runCommand("chown -R 65534:65534 " + quoted(program.string()));
        ASSERT_EQ(owned.status, 0);
    }
    const std::string tool = client("XDG_CURRENT_DESKTOP=sway SWAYSOCK=" + quoted(std::string(ipcSocket_)) +
                                    " XDG_CONFIG_HOME=" + quoted((folder_ / "run").string())) +
                             quoted(TAVLO_WALLPAPER_TOOL) + " --folder " + quoted(program.string()) + " next 2>&1";
    const test::CommandResult result = test::runCommand(tool);
    ASSERT_EQ(result.status, 0) << result.output;
    EXPECT_EQ(result.output, "b1.bmp\n");

    // The picture at one to one, 52 pixels from each output's right edge and
    // 4 from its top; the background stretched to each output.
    EXPECT_TRUE(outputShows("HEADLESS-1", {{{1128 + 2, 4 + 2}, kGreen},
                                           {{1227 - 2, 53 - 2}, kGreen},
                                           {{1227 + 4, 30}, kBlue},
                                           {{1128 + 50, 53 + 4}, kBlue},
                                           {{100, 600}, kRed},
                                           {{1200, 600}, kBlue}}));
    EXPECT_TRUE(outputShows("HEADLESS-2", {{{568 + 2, 4 + 2}, kGreen},
                                           {{667 - 2, 53 - 2}, kGreen},
                                           {{568 - 4, 30}, kBlue},
                                           {{100, 1200}, kRed},
                                           {{620, 1200}, kBlue}}));
    const auto portrait = output("HEADLESS-2");
    ASSERT_TRUE(portrait);
    EXPECT_EQ(portrait->width(), 720);
    EXPECT_EQ(portrait->height(), 1280);
}

// A compositor without sway's IPC: one background client draws each output's
// own picture.
TEST_F(RealSwayTwoOutputsTest, BackgroundClientDrawsEachOutputsOwnPicture) {
    const fs::path left = folder_ / "left.bmp", right = folder_ / "right.bmp";
    // Large enough that stretching blends in nothing but near the edges.
    writeHalves(kRed, kRed, 64, 64, left);
    writeHalves(kBlue, kBlue, 64, 64, right);
    // The client finds the compositor as the session's programs do.
    const std::string runtime = getenv("XDG_RUNTIME_DIR") ? getenv("XDG_RUNTIME_DIR") : "";
    setenv("XDG_RUNTIME_DIR", runtime_.c_str(), 1);
    setenv("WAYLAND_DISPLAY", waylandDisplay_.c_str(), 1);
    SwaybgWallpaper(waylandDisplay_, runtime_)
        .SetMonitorWallpapers(
            {{{"HEADLESS-1", 0, 0, 1280, 720, true}, left}, {{"HEADLESS-2", 1280, 0, 720, 1280, false}, right}});
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    unsetenv("WAYLAND_DISPLAY");
    EXPECT_TRUE(outputShows("HEADLESS-1", {{{320, 360}, kRed}, {{960, 360}, kRed}}));
    EXPECT_TRUE(outputShows("HEADLESS-2", {{{360, 320}, kBlue}, {{360, 960}, kBlue}}));
}

}  // namespace
}  // namespace tavlo::wallpaper
