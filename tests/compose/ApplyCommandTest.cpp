#include "ApplyCommand.h"
#include "BmpFormat.h"
#include "FileError.h"
#include "GreyBackgrounds.h"
#include "Picture.h"
#include "RecordingWallpaper.h"
#include "SettingsFile.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

using namespace tavlo;
namespace fs = std::filesystem;

namespace {

// A program folder with backgrounds b0..bN, each one flat grey level 10·k,
// so that the composite's corner tells which one an apply used.
class Apply : public testing::Test {
protected:
    test::TempFolder temp;
    GlobalState state{ProgramFolder(temp.path())};
    BackgroundWalk walk;
    wallpaper::RecordingWallpaper desktop;
    int confirmations = 0;
    std::int32_t answer = 1;
    ApplyCommand command{state, walk, desktop, [this] {
                             ++confirmations;
                             state.ApplyConfirmed = answer;
                         }};
    const HeldPicture picture{[] {
        imaging::Bitmap b(20, 10, 24);
        std::fill(b.pixels().begin(), b.pixels().end(), std::uint8_t{200});
        return b;
    }()};

    void useList(int entries) { test::useGreyBackgrounds(state, walk, entries); }
    // The entry the last composite was made from, -1 if none exists.
    int usedEntry() const {
        const fs::path mix = temp / "source/DeskTopBG/Mix.bmp";
        if (!fs::exists(mix)) return -1;
        return imaging::loadPicture(mix).row(40)[0] / 10;
    }
    int applyOnce() {
        fs::remove(temp / "source/DeskTopBG/Mix.bmp");
        command.runWithCurrentPicture(&picture);
        return usedEntry();
    }
};

}  // namespace

TEST_F(Apply, WalksTheLibraryBackwardsFromTheLastEntry) {
    const struct {
        int entries;
        std::vector<int> used;
    } cases[] = {{4, {3, 2, 1, 3, 2}}, {2, {1, 1, 1}}, {1, {0, 0, 0}}};
    for (const auto& c : cases) {
        useList(c.entries);
        std::vector<int> used;
        for (std::size_t n = 0; n < c.used.size(); ++n) used.push_back(applyOnce());
        EXPECT_EQ(used, c.used) << c.entries << " entries";
    }
    EXPECT_EQ(desktop.calls().back(), temp / "source/DeskTopBG/Mix.bmp");
    // The content lands at (100 - 20 - 52, 4) on the background.
    const imaging::Bitmap mix = imaging::loadPicture(temp / "source/DeskTopBG/Mix.bmp");
    EXPECT_EQ(mix.row(4)[28 * 3], 200);
    EXPECT_EQ(mix.row(4)[27 * 3], 0);
    EXPECT_EQ(mix.row(3)[28 * 3], 0);
    EXPECT_EQ(mix.row(13)[47 * 3], 200);
    EXPECT_EQ(mix.row(14)[47 * 3], 0);
    EXPECT_EQ(mix.row(13)[48 * 3], 0);
    EXPECT_EQ(imaging::loadPicture(temp / "source/DeskTopBG/Content.bmp").width(), 20);
}

TEST_F(Apply, AMissingEntryIsPassedOverWithinTheSameApply) {
    // Entries removed from b0..b4 (the walk after start-up: 4, 3, 2, 1, 4, ...),
    // and the entries the next applies use.
    const struct {
        std::vector<int> missing;
        std::vector<int> used;
    } cases[] = {
        {{2}, {4, 3, 1, 4, 3, 1}},  // the walk's order over the rest is kept
        {{4}, {3, 2, 1, 3}},        // the first entry of the walk itself
        {{1, 2, 3}, {4, 4, 4}},     // one left: every apply uses it
        {{1, 2, 3, 4}, {0, 0}},     // only the chosen entry 0 is left
        {{0, 3}, {4, 2, 1, 4}},     // entry 0 plays no part while others exist
    };
    for (const auto& c : cases) {
        useList(5);
        for (int k : c.missing) fs::remove(temp / ("source/DeskTopBG/b" + std::to_string(k) + ".bmp"));
        std::vector<int> used;
        for (std::size_t n = 0; n < c.used.size(); ++n) used.push_back(applyOnce());
        EXPECT_EQ(used, c.used) << c.missing.size() << " missing, first " << c.missing.front();
    }
}

TEST_F(Apply, WithNoListedBackgroundLeftTheUserIsToldAndNothingIsAsked) {
    useList(3);
    state.ConfirmApply = true;
    for (int k = 0; k < 3; ++k) fs::remove(temp / ("source/DeskTopBG/b" + std::to_string(k) + ".bmp"));
    const std::int32_t index = walk.CurrentBGIndex;
    EXPECT_EQ(command.runWithCurrentPicture(&picture), ApplyResult::NoBackground);
    EXPECT_EQ(walk.CurrentBGIndex, index);
    EXPECT_EQ(confirmations, 0);
    EXPECT_TRUE(desktop.calls().empty());

    // A list of one entry whose file is gone, and the chosen entry 0 missing
    // while the walk stands on it.
    useList(1);
    fs::remove(temp / "source/DeskTopBG/b0.bmp");
    EXPECT_EQ(command.runWithCurrentPicture(&picture), ApplyResult::NoBackground);
    useList(2);
    walk.CurrentBGIndex = 0;
    fs::remove(temp / "source/DeskTopBG/b0.bmp");
    EXPECT_EQ(applyOnce(), 1);
}

TEST_F(Apply, NamesReachingOutOfTheBackgroundFolderAreMissingEntries) {
    useList(3);
    // A picture that would be found one folder up, and one at an absolute path.
    imaging::Bitmap outside(100, 50, 24);
    std::fill(outside.pixels().begin(), outside.pixels().end(), std::uint8_t{90});
    imaging::writeBmp(outside, temp / "source/outside.bmp");
    writeSettingsLines(state.folder.pathForWrite("Data\\BGPicList.ini"),
                       {"b0.bmp", "b1.bmp", "../outside.bmp", "DeskTopBG/../../outside.bmp"});
    LoadBGList(state, walk, false);
    EXPECT_EQ(applyOnce(), 1);

    // An absolute name is taken inside the folder.
    writeSettingsLines(state.folder.pathForWrite("Data\\BGPicList.ini"),
                       {"b0.bmp", "b1.bmp", (temp / "source/outside.bmp").string()});
    LoadBGList(state, walk, false);
    EXPECT_EQ(applyOnce(), 1);
}

TEST_F(Apply, ConfirmationAnswersDecide) {
    useList(2);
    state.ConfirmApply = true;
    answer = 0;
    EXPECT_EQ(command.runWithCurrentPicture(&picture), ApplyResult::Declined);
    EXPECT_FALSE(fs::exists(temp / "source/DeskTopBG/Content.bmp"));
    answer = 1;
    EXPECT_EQ(command.runWithCurrentPicture(&picture), ApplyResult::Applied);
    EXPECT_EQ(confirmations, 2);

    state.ConfirmApply = false;
    state.ApplyConfirmed = 7;
    EXPECT_EQ(command.runWithCurrentPicture(&picture), ApplyResult::Applied);
    EXPECT_EQ(confirmations, 2);
    EXPECT_EQ(state.ApplyConfirmed, 7);  // neither read nor changed
}

TEST_F(Apply, FailuresLeaveTheWalkWhereItWas) {
    useList(3);
    test::writeFileBytes(temp / "source/DeskTopBG/b2.bmp", "not a picture");
    EXPECT_EQ(command.runWithCurrentPicture(&picture), ApplyResult::BackgroundUnreadable);
    EXPECT_EQ(walk.CurrentBGIndex, 2);

    useList(3);
    desktop.failWith("桌面拒绝了这张壁纸");
    EXPECT_EQ(command.runWithCurrentPicture(&picture), ApplyResult::WallpaperNotSet);
    EXPECT_EQ(walk.CurrentBGIndex, 2);
    EXPECT_TRUE(fs::exists(temp / "source/DeskTopBG/Mix.bmp"));  // written before the failure, and kept
}

// A desktop that did not take the picture is told in Chinese, with where the
// composite is, so that the user can choose it in the desktop's own settings.
TEST_F(Apply, AWallpaperTheDesktopRefusedIsToldWithWhereThePictureIs) {
    useList(2);
    desktop.failWith("桌面拒绝了这张壁纸");

    EXPECT_EQ(command.runWithCurrentPicture(&picture), ApplyResult::WallpaperNotSet);

    EXPECT_EQ(command.failureMessage(), "无法设置桌面壁纸：桌面拒绝了这张壁纸。\n壁纸图片保存在：\n" +
                                            (temp / "source/DeskTopBG/Mix.bmp").string() +
                                            "\n可以在桌面的设置中把这张图片选为壁纸。");
}

TEST_F(Apply, NothingToPasteOrNothingToPasteOnIsReportedNotApplied) {
    useList(2);
    state.ConfirmApply = true;
    EXPECT_EQ(command.runWithCurrentPicture(nullptr), ApplyResult::NoPicture);
    state.PicBGList.clear();
    EXPECT_EQ(command.runWithCurrentPicture(&picture), ApplyResult::NoBackground);
    EXPECT_EQ(confirmations, 0);
    EXPECT_TRUE(desktop.calls().empty());
}

// A picture held only in part is read whole from its file when the apply goes
// ahead, and only then: a declined apply does not wait for it.
TEST_F(Apply, APictureHeldInPartIsReadWholeOnlyWhenPasted) {
    useList(2);
    state.ConfirmApply = true;
    const fs::path file = temp / "wide.bmp";
    imaging::Bitmap wide(60, 8, 24);
    for (std::size_t i = 0; i < wide.pixels().size(); ++i) wide.pixels()[i] = static_cast<std::uint8_t>(i % 251);
    imaging::writeBmp(wide, file);
    const HeldPicture held = HeldPicture::load(file, {20, 4});
    ASSERT_FALSE(held.isWhole());

    answer = 1;
    EXPECT_EQ(command.runWithCurrentPicture(&held), ApplyResult::Applied);
    EXPECT_EQ(imaging::loadPicture(temp / "source/DeskTopBG/Content.bmp").pixels(), wide.pixels());

    fs::remove(file);
    answer = 0;
    EXPECT_EQ(command.runWithCurrentPicture(&held), ApplyResult::Declined);
    answer = 1;
    EXPECT_THROW(command.runWithCurrentPicture(&held), FileError);
    EXPECT_EQ(command.runWithCurrentPicture(nullptr), ApplyResult::NoPicture);
}
