// A wallpaper program of the user's own under a wlroots compositor. Neither
// hyprpaper nor swww is packaged here: stand-ins under their names, in PATH,
// record what they are asked, as the real commands would receive it.
#include "ChildProcess.h"
#include "TempFolder.h"
#include "WallpaperDaemon.h"
#include "WallpaperFactory.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>

namespace tavlo::wallpaper {
namespace {

namespace fs = std::filesystem;

class WallpaperDaemonTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(bin_);
        path_ = std::getenv("PATH");
        setenv("PATH", (bin_.string() + ":" + path_).c_str(), 1);
        setenv("XDG_CONFIG_HOME", (folder_ / "config").c_str(), 1);
        mix_ = folder_ / "程序" / "source" / "DeskTopBG" / "Mix.bmp";
        fs::create_directories(mix_.parent_path());
        test::writeFileBytes(mix_, "BM");
    }
    void TearDown() override { setenv("PATH", path_.c_str(), 1); }

    // A command that records its arguments and prints `answer`.
    void standIn(const std::string& command, const std::string& answer) {
        test::writeFileBytes(bin_ / command, "#!/bin/sh\necho \"$@\" >> \"$0.calls\"\necho '" + answer + "'\n");
        fs::permissions(bin_ / command, fs::perms::owner_all);
    }
    std::string calls(const std::string& command) const { return test::readFileBytes(bin_ / (command + ".calls")); }

    // A running process under the daemon's name, once it runs.
    std::unique_ptr<test::ChildProcess> daemon(const std::string& name) {
        fs::copy_file("/bin/sleep", bin_ / name);
        auto process = std::make_unique<test::ChildProcess>(std::vector<std::string>{(bin_ / name).string(), "600"});
        for (int attempt = 0; attempt < 200 && !WallpaperDaemon::running(); ++attempt)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return process;
    }

    test::TempFolder folder_;
    fs::path bin_ = folder_ / "bin";
    fs::path mix_;
    std::string path_;
};

TEST_F(WallpaperDaemonTest, HyprpaperLoadsEachPictureUnderANewNameAndLetsTheOldGo) {
    EXPECT_FALSE(WallpaperDaemon::running());
    standIn("hyprctl", "ok");
    const auto hyprpaper = daemon("hyprpaper");
    ASSERT_EQ(WallpaperDaemon::running(), WallpaperDaemon::Kind::Hyprpaper);

    const auto backend = createProgramBackend({BackendKind::Swaybg, ""}, folder_ / "程序");
    EXPECT_EQ(backend->name(), "hyprpaper");
    backend->SetWallpaper(mix_);
    backend->SetWallpaper(mix_);

    const std::string second = (mix_.parent_path() / "Mix-2.bmp").string();
    EXPECT_EQ(calls("hyprctl"), "hyprpaper preload " + second + "\nhyprpaper wallpaper ," + second +
                                    "\nhyprpaper unload unused\nhyprpaper preload " + mix_.string() +
                                    "\nhyprpaper wallpaper ," + mix_.string() + "\nhyprpaper unload unused\n");
}

TEST_F(WallpaperDaemonTest, ARefusalOfHyprpaperIsToldInChinese) {
    standIn("hyprctl", "wallpaper failed (not preloaded)");
    try {
        WallpaperDaemon(WallpaperDaemon::Kind::Hyprpaper).SetWallpaper(mix_);
        FAIL() << "no error";
    } catch (const WallpaperError& error) {
        EXPECT_EQ(error.cause(), "壁纸程序 hyprpaper 没有接受这张图片");
    }
}

TEST_F(WallpaperDaemonTest, SwwwShowsThePictureAtOnce) {
    standIn("swww", "");
    const auto swww = daemon("swww-daemon");
    ASSERT_EQ(WallpaperDaemon::running(), WallpaperDaemon::Kind::Swww);

    createProgramBackend({BackendKind::Swaybg, ""}, folder_ / "程序")->SetWallpaper(mix_);

    EXPECT_EQ(calls("swww"), "img --transition-type none " + mix_.string() + "\n");
}

TEST_F(WallpaperDaemonTest, EachOutputGetsItsOwnPictureAndARefusalNamesTheOutput) {
    const fs::path other = mix_.parent_path() / "Mix-DP-2.bmp";
    const std::vector<MonitorPicture> pictures = {{{"DP-1", 0, 0, 1920, 1080, true}, mix_},
                                                  {{"DP-2", 1920, 0, 1080, 1920, false}, other}};
    standIn("swww", "");
    WallpaperDaemon(WallpaperDaemon::Kind::Swww).SetMonitorWallpapers(pictures);
    EXPECT_EQ(calls("swww"), "img -o DP-1 --transition-type none " + mix_.string() +
                                 "\nimg -o DP-2 --transition-type none " + other.string() + "\n");

    standIn("hyprctl", "ok");
    WallpaperDaemon(WallpaperDaemon::Kind::Hyprpaper).SetMonitorWallpapers(pictures);
    EXPECT_EQ(calls("hyprctl"), "hyprpaper preload " + mix_.string() + "\nhyprpaper wallpaper DP-1," + mix_.string() +
                                    "\nhyprpaper preload " + other.string() + "\nhyprpaper wallpaper DP-2," +
                                    other.string() + "\nhyprpaper unload unused\n");

    standIn("hyprctl", "wallpaper failed (no such monitor)");
    try {
        WallpaperDaemon(WallpaperDaemon::Kind::Hyprpaper).SetMonitorWallpapers(pictures);
        FAIL() << "no error";
    } catch (const WallpaperError& error) {
        EXPECT_EQ(error.cause(), "显示器“DP-1”：壁纸程序 hyprpaper 没有接受这张图片");
    }
}

}  // namespace
}  // namespace tavlo::wallpaper
