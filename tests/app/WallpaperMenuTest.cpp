// The wallpaper's items of the options menu and the tray's menu: the fit
// mode and the primary monitor stored for the next apply, the automatic
// change installed and run by the program's own timer where no user service
// manager runs, next and previous through the walk.
#include "AutoChange.h"
#include "CommandWindowTest.h"
#include "Picture.h"
#include "SettingsFile.h"
#include "WallpaperOptions.h"
#include "WallpaperTray.h"

#include <QMenu>

#include <cstdlib>

namespace tavlo::test {
namespace {

namespace fs = std::filesystem;

class WallpaperMenu : public CommandWindowTest {
protected:
    void SetUp() override {
        // The login entries go to a configuration folder of the test's own;
        // no user manager answers in this runtime folder.
        config_ = f.folder / "config";
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(config_.string()));
        // The list the window reads when it starts: A1.bmp chosen, A1.bmp and B.bmp in the library.
        fs::create_directories(f.folder / "Data");
        fs::create_directories(f.folder / "source/DeskTopBG");
        writeSettingsLines(f.folder / "Data/BGPicList.ini", {"A1.bmp", "A1.bmp", "B.bmp"});
        imaging::Bitmap b(300, 200, 24);
        std::fill(b.pixels().begin(), b.pixels().end(), std::uint8_t{30});
        imaging::writeBmp(b, f.folder / "source/DeskTopBG/B.bmp");
        CommandWindowTest::SetUp();
    }
    void TearDown() override {
        CommandWindowTest::TearDown();
        qunsetenv("XDG_CONFIG_HOME");
    }
    QAction* item(const char* name) { return control<QAction>(*f.window, name); }
    QAction* captioned(const char* menu, const char* caption) {
        for (QAction* action : control<QMenu>(*f.window, menu)->actions())
            if (action->text() == QString::fromUtf8(caption)) return action;
        ADD_FAILURE() << "no item " << caption;
        return nullptr;
    }
    app::AutoChange& autoChange() { return f.window->autoChange(); }
    fs::path config_;
};

TEST_F(WallpaperMenu, FitModeAndPrimaryMonitorAreStoredAndShownChecked) {
    item("N_Fit_fill")->trigger();
    item("N_PrimaryOnly")->trigger();
    EXPECT_EQ(WallpaperOptions::read(f.state->folder), (WallpaperOptions{FitMode::Fill, false}));
    EXPECT_EQ(readSettingsLines(f.folder / "Data/WallpaperFit.ini"), (std::vector<std::string>{"fill", "primary"}));
    WallpaperOptions{FitMode::Tile, true}.write(f.state->folder);
    emit control<QMenu>(*f.window, "popSysset")->aboutToShow();
    EXPECT_TRUE(item("N_Fit_tile")->isChecked());
    EXPECT_FALSE(item("N_Fit_fill")->isChecked());
    EXPECT_FALSE(item("N_PrimaryOnly")->isChecked());
}

TEST_F(WallpaperMenu, AutomaticChangeRunsOnTheProgramsTimerWhereNoUserManagerRuns) {
    EXPECT_FALSE(autoChange().timer().isActive());
    captioned("N_AutoChange", "每 30 分钟")->trigger();
    EXPECT_EQ(readSettingsLines(f.folder / "Data/Schedule.ini"), (std::vector<std::string>{"every 30", "running"}));
    EXPECT_TRUE(fs::exists(config_ / "autostart/tavlo-wallpaper-next.desktop"));
    EXPECT_FALSE(fs::exists(config_ / "systemd"));
    ASSERT_TRUE(autoChange().timer().isActive());
    EXPECT_EQ(autoChange().timer().interval(), 30 * 60 * 1000);

    item("N_PauseAutoChange")->trigger();
    EXPECT_TRUE(autoChange().schedule().paused);
    EXPECT_FALSE(autoChange().timer().isActive());
    item("N_PauseAutoChange")->trigger();
    EXPECT_TRUE(autoChange().timer().isActive());

    // The timer's change: the next background, the current picture on it.
    QMetaObject::invokeMethod(const_cast<QTimer*>(&autoChange().timer()), "timeout", Qt::DirectConnection);
    ASSERT_EQ(desktop->calls().size(), 1u);
    EXPECT_EQ(readSettingsLines(f.folder / "Data/Walk.ini"), std::vector<std::string>{"2"});
    EXPECT_TRUE(autoChange().timer().isActive());

    captioned("N_AutoChange", "关闭")->trigger();
    EXPECT_FALSE(autoChange().timer().isActive());
    EXPECT_FALSE(fs::exists(config_ / "autostart/tavlo-wallpaper-next.desktop"));
    EXPECT_FALSE(item("N_PauseAutoChange")->isEnabled());
}

TEST_F(WallpaperMenu, NextAndPreviousStepTheWalkAndTheApplyGoesOnFromThere) {
    item("N_NextWallpaper")->trigger();      // entry 2 (B.bmp)
    item("N_NextWallpaper")->trigger();      // entry 1 (A1.bmp)
    item("N_PreviousWallpaper")->trigger();  // entry 2 again
    ASSERT_EQ(desktop->calls().size(), 3u);
    const auto level = [&] { return imaging::loadPicture(f.folder / "source/DeskTopBG/Mix.bmp").row(150)[0]; };
    EXPECT_EQ(level(), 30);
    EXPECT_EQ(f.window->backgroundWalk().CurrentBGIndex, 1);
}

TEST_F(WallpaperMenu, TrayMenuOffersTheWalkThePauseTheWindowAndQuitting) {
    captioned("N_AutoChange", "每 15 分钟")->trigger();
    app::WallpaperTray& tray = f.window->tray();
    EXPECT_FALSE(tray.shown());  // the offscreen platform has no tray: nothing shows, nothing fails
    QStringList captions;
    for (QAction* action : tray.menu()->actions()) captions << (action->isSeparator() ? "-" : action->text());
    EXPECT_EQ(captions, (QStringList{"下一张", "上一张", "暂停自动更换", "-", "显示主窗口", "退出"}));
    tray.menu()->actions()[2]->trigger();
    EXPECT_TRUE(autoChange().schedule().paused);
    emit tray.menu()->aboutToShow();
    EXPECT_EQ(tray.menu()->actions()[2]->text(), "继续自动更换");
    tray.menu()->actions()[0]->trigger();
    EXPECT_EQ(desktop->calls().size(), 1u);
    tray.menu()->actions()[5]->trigger();
    EXPECT_EQ(f.terminations, 1);
}

}  // namespace
}  // namespace tavlo::test
