// The apply command and the walk's steps with several monitors, fit modes
// and the picture on the primary monitor alone.
#include "ApplyCommand.h"
#include "BmpFormat.h"
#include "GreyBackgrounds.h"
#include "Picture.h"
#include "RecordingWallpaper.h"
#include "SettingsFile.h"
#include "TempFolder.h"
#include "WallpaperRotation.h"

#include <gtest/gtest.h>

using namespace tavlo;
namespace fs = std::filesystem;
using wallpaper::Monitor;
using wallpaper::MonitorLayout;

namespace {

constexpr std::uint8_t kPictureLevel = 200;

// A laptop screen and a portrait monitor to its right, small.
const MonitorLayout kTwoMonitors = {{"HEADLESS-1", 0, 0, 128, 72, true}, {"HEADLESS-2", 128, 0, 72, 128, false}};

class Monitors : public testing::Test {
protected:
    test::TempFolder temp;
    GlobalState state{ProgramFolder(temp.path())};
    BackgroundWalk walk;
    wallpaper::RecordingWallpaper desktop;
    MonitorLayout monitors = kTwoMonitors;
    const HeldPicture picture{[] {
        imaging::Bitmap b(20, 10, 24);
        std::fill(b.pixels().begin(), b.pixels().end(), kPictureLevel);
        return b;
    }()};

    void useList(int entries) { test::useGreyBackgrounds(state, walk, entries); }
    ApplyResult apply() {
        ApplyCommand command(
            state, walk, desktop, [] {}, [this] { return monitors; });
        return command.runWithCurrentPicture(&picture);
    }
    fs::path background(const std::string& name) const { return temp / "source/DeskTopBG" / name; }
    static std::uint8_t level(const imaging::Bitmap& b, int x, int y) { return b.row(y)[3 * x]; }
    // Whether the picture lies with its right edge 52 pixels left of the
    // right edge and its top 4 pixels down, and nowhere else.
    static bool pictureAtTopRight(const imaging::Bitmap& b) {
        const int x = b.width() - 20 - 52;
        return level(b, x + 10, 8) == kPictureLevel && level(b, x + 19, 4) == kPictureLevel &&
               level(b, x + 20, 8) != kPictureLevel && level(b, x + 10, 14) != kPictureLevel &&
               level(b, x + 10, 3) != kPictureLevel;
    }
};

TEST_F(Monitors, PerMonitorDesktopGetsOneCompositeAtEachMonitorsSizeWithThePictureAtItsTopRight) {
    useList(2);
    desktop.setPerMonitor(true);
    ASSERT_EQ(apply(), ApplyResult::Applied);

    ASSERT_EQ(desktop.monitorCalls().size(), 1u);
    const auto& call = desktop.monitorCalls().front();
    ASSERT_EQ(call.size(), 2u);
    EXPECT_EQ(call[0].monitor.name, "HEADLESS-1");
    EXPECT_EQ(call[0].picture, background("Mix.bmp"));
    EXPECT_EQ(call[1].monitor.name, "HEADLESS-2");
    EXPECT_EQ(call[1].picture, background("Mix-HEADLESS-2.bmp"));
    for (const auto& [monitor, file] : call) {
        const imaging::Bitmap composite = imaging::loadPicture(file);
        EXPECT_EQ(composite.width(), monitor.width) << monitor.name;
        EXPECT_EQ(composite.height(), monitor.height) << monitor.name;
        EXPECT_TRUE(pictureAtTopRight(composite)) << monitor.name;
        EXPECT_EQ(level(composite, 2, monitor.height - 2), 10) << monitor.name;  // the background, entry 1
    }
    EXPECT_TRUE(desktop.calls().empty());
}

TEST_F(Monitors, PictureOnThePrimaryAloneLeavesTheOtherMonitorsTheBackground) {
    useList(2);
    desktop.setPerMonitor(true);
    WallpaperOptions{FitMode::Stretch, false}.write(state.folder);
    ASSERT_EQ(apply(), ApplyResult::Applied);
    const auto& call = desktop.monitorCalls().at(0);
    EXPECT_TRUE(pictureAtTopRight(imaging::loadPicture(call[0].picture)));
    const imaging::Bitmap other = imaging::loadPicture(call[1].picture);
    for (int y = 0; y < other.height(); ++y)
        for (int x = 0; x < other.width(); ++x) ASSERT_EQ(level(other, x, y), 10) << x << "," << y;
}

TEST_F(Monitors, DesktopOfOnePictureGetsTheCompositesLaidOutAsTheMonitorsAreAcrossThem) {
    useList(2);
    ASSERT_EQ(apply(), ApplyResult::Applied);
    ASSERT_EQ(desktop.spannedCalls(), std::vector{background("Mix-spanned.bmp")});
    const imaging::Bitmap spanned = imaging::loadPicture(background("Mix-spanned.bmp"));
    EXPECT_EQ(spanned.width(), 200);
    EXPECT_EQ(spanned.height(), 128);
    const imaging::Bitmap left = imaging::loadPicture(background("Mix.bmp"));
    const imaging::Bitmap right = imaging::loadPicture(background("Mix-HEADLESS-2.bmp"));
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 200; ++x) {
            const int expected = x < 128 ? (y < 72 ? level(left, x, y) : 0) : level(right, x - 128, y);
            ASSERT_EQ(level(spanned, x, y), expected) << x << "," << y;
        }
    // "Mix.bmp" is the primary monitor's composite, for whatever reads it.
    EXPECT_EQ(left.width(), 128);
}

// One monitor and the stretch mode: the composite the design makes, at the
// background's size, byte for byte, whatever the monitor's size.
TEST_F(Monitors, OneMonitorInTheStretchModeGivesTheCompositeAtTheBackgroundsSize) {
    useList(2);
    ApplyCommand(state, walk, desktop, [] {}).runWithCurrentPicture(&picture);
    const std::string designed = test::readFileBytes(background("Mix.bmp"));
    LoadBGList(state, walk, false);

    monitors = {{"eDP-1", 0, 0, 1920, 1080, true}};
    ASSERT_EQ(apply(), ApplyResult::Applied);
    EXPECT_EQ(test::readFileBytes(background("Mix.bmp")), designed);
    EXPECT_EQ(desktop.calls(), (std::vector{background("Mix.bmp"), background("Mix.bmp")}));
    EXPECT_FALSE(fs::exists(background("Mix-eDP-1.bmp")));
}

TEST_F(Monitors, OneMonitorInAnotherModeGetsItsOwnSize) {
    useList(2);
    WallpaperOptions{FitMode::Fill, true}.write(state.folder);
    monitors = {{"eDP-1", 0, 0, 160, 90, true}};
    ASSERT_EQ(apply(), ApplyResult::Applied);
    ASSERT_EQ(desktop.calls(), std::vector{background("Mix.bmp")});
    const imaging::Bitmap composite = imaging::loadPicture(background("Mix.bmp"));
    EXPECT_EQ(composite.width(), 160);
    EXPECT_EQ(composite.height(), 90);
    EXPECT_TRUE(pictureAtTopRight(composite));
}

TEST_F(Monitors, AMonitorThatCannotBeSetIsNamedAndTheWalkStays) {
    useList(3);
    desktop.setPerMonitor(true);
    desktop.failWith("拒绝了");
    const std::int32_t before = walk.CurrentBGIndex;
    ApplyCommand command(
        state, walk, desktop, [] {}, [this] { return monitors; });
    ASSERT_EQ(command.runWithCurrentPicture(&picture), ApplyResult::WallpaperNotSet);
    EXPECT_NE(command.failureMessage().find("显示器“HEADLESS-2”：拒绝了"), std::string::npos)
        << command.failureMessage();
    EXPECT_EQ(walk.CurrentBGIndex, before);
}

// ---- The walk's steps from outside the apply command ----

class Walk : public Monitors {
protected:
    int step(WallpaperRotation::Direction direction) {
        WallpaperRotation rotation(state, desktop, {});
        if (rotation.step(direction, &picture.shown()) != WallpaperRotation::Outcome::Set) return -1;
        // The composite tells which background it was made from.
        const int level = imaging::loadPicture(background("Mix.bmp")).row(40)[0] / 10;
        EXPECT_EQ(level, rotation.shownEntry());
        return level;
    }
    std::vector<int> steps(WallpaperRotation::Direction direction, int count) {
        std::vector<int> used;
        for (int i = 0; i < count; ++i) used.push_back(step(direction));
        return used;
    }
    static constexpr auto kNext = WallpaperRotation::Direction::Next;
    static constexpr auto kPrevious = WallpaperRotation::Direction::Previous;
};

TEST_F(Walk, NextGoesTheApplysWayAndPreviousBackBothWrapping) {
    useList(4);
    EXPECT_EQ(steps(kNext, 4), (std::vector{3, 2, 1, 3}));
    EXPECT_EQ(steps(kPrevious, 3), (std::vector{1, 2, 3}));
    EXPECT_EQ(steps(kPrevious, 1), (std::vector{1}));
    EXPECT_EQ(steps(kNext, 1), (std::vector{3}));
}

TEST_F(Walk, GoesOnFromTheLastApplyAndPassesOverMissingFiles) {
    useList(5);
    ApplyCommand(state, walk, desktop, [] {}).runWithCurrentPicture(&picture);  // entry 4
    fs::remove(background("b3.bmp"));
    EXPECT_EQ(steps(kNext, 2), (std::vector{2, 1}));
    EXPECT_EQ(steps(kPrevious, 2), (std::vector{2, 4}));
}

TEST_F(Walk, OneEntryIsTheWholeWalkAndNoneSaysSo) {
    useList(1);
    EXPECT_EQ(steps(kNext, 2), (std::vector{0, 0}));
    EXPECT_EQ(steps(kPrevious, 1), (std::vector{0}));
    fs::remove(background("b0.bmp"));
    WallpaperRotation rotation(state, desktop, {});
    EXPECT_EQ(rotation.step(kNext, nullptr), WallpaperRotation::Outcome::NoBackground);
}

TEST_F(Walk, WithoutACurrentPictureTheBackgroundAloneIsSet) {
    useList(2);
    WallpaperRotation rotation(state, desktop, {});
    ASSERT_EQ(rotation.step(kNext, nullptr), WallpaperRotation::Outcome::Set);
    EXPECT_EQ(test::readFileBytes(background("Mix.bmp")), test::readFileBytes(background("b1.bmp")));
    EXPECT_FALSE(fs::exists(background("Content.bmp")));
}

}  // namespace
