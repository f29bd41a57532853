// Start-up: the windows in their order, FormCreate's steps and FormShow's
// current picture.
#include "BmpFormat.h"
#include "CopyScreenFrm.h"
#include "WindowTestSupport.h"
#include "uGlobal.h"

#include <QLabel>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <ctime>

using namespace tavlo;
using test::readFileBytes;
using test::writeFileBytes;

TEST(Startup, CreatesEveryWindowInOrderAndRunsFormCreateOnTheWay) {
    test::TempFolder temp;
    app::ProgramWindows windows{ProgramFolder(temp.path())};

    std::vector<std::string> classes;
    for (QObject* object : windows.creationOrder()) classes.emplace_back(object->metaObject()->className());
    EXPECT_EQ(classes,
              (std::vector<std::string>{"tavlo::TDM", "tavlo::app::TMainFrm", "tavlo::app::TDeskBGSetFrm",
                                        "tavlo::app::TPicPreviewFrm", "tavlo::TPicSelFrm", "tavlo::TInforFrm"}));
    // Each capture makes its own capture window: none exists before one.
    EXPECT_TRUE(windows.MainFrm().findChildren<TCopyScreenForm*>().empty());
    // FormCreate ran while the main window was made.
    EXPECT_EQ(readFileBytes(temp / "Data/tmppic.ini"), "\r\n");
    EXPECT_EQ(readFileBytes(temp / "Data/configSetBg.ini"), "1\r\n");
    EXPECT_TRUE(windows.state().ConfirmApply);
    EXPECT_EQ(windows.MainFrm().windowTitle(), QStringLiteral("Tavlo助手"));
    // Nothing is shown before the message loop shows the main window, and
    // the geometry file is read only then.
    for (QObject* object : windows.creationOrder()) {
        if (auto* widget = qobject_cast<QWidget*>(object)) {
            EXPECT_FALSE(widget->isVisible());
        }
    }
    EXPECT_FALSE(std::filesystem::exists(temp / "Data/FormSize.ini"));
}

TEST(Startup, FormCreateResetsTheWindowStateAndComposesTheDateLine) {
    test::MainWindowFixture f;
    f.state->ConfirmApply = false;
    f.state->ApplyConfirmed = 1;
    f.state->PicBGList = {{0, "A1.bmp"}};
    writeFileBytes(f.folder / "Data/configSetBg.ini", "0\r\n");
    writeFileBytes(f.folder / "Data/tmppic.ini", "/nowhere/picture.bmp\r\n");
    std::tm noon{};  // 9 January 2011, a Sunday, at noon on the local clock
    noon.tm_year = 2011 - 1900;
    noon.tm_mon = 0;
    noon.tm_mday = 9;
    noon.tm_hour = 12;
    noon.tm_isdst = -1;
    const std::time_t pinned = std::mktime(&noon);
    f.state->clock = [pinned] { return pinned; };
    app::TMainFrm& w = f.create();

    EXPECT_EQ(test::control<QLabel>(w, "lblDateTime")->text(), QStringLiteral("今天是 2011年1月9日(日)"));
    EXPECT_EQ(w.notePage(), 0);
    // The list was emptied, then loaded: a first run writes the default list.
    EXPECT_EQ(w.backgroundWalk().CurrentBGFile, "A1.bmp");
    EXPECT_EQ(w.backgroundWalk().CurrentBGIndex, 1);
    EXPECT_EQ(f.state->PicBGCount(), 2);
    EXPECT_EQ(readFileBytes(f.folder / "Data/BGPicList.ini"), "A1.bmp\r\nA1.bmp\r\n");
    EXPECT_EQ(f.state->CurrentPicturePath, std::filesystem::path("/nowhere/picture.bmp"));
    EXPECT_FALSE(f.state->ConfirmApply);
    EXPECT_EQ(f.state->ApplyConfirmed, 0);
    EXPECT_EQ(f.state->ConfigSetBgPath, f.folder / "Data/configSetBg.ini");
    EXPECT_EQ(readFileBytes(f.folder / "Data/configSetBg.ini"), "0\r\n");
}

TEST(Startup, FormShowLoadsTheCurrentPictureWhenItsFileExists) {
    test::MainWindowFixture f;
    imaging::Bitmap picture(40, 30, 24);
    for (int y = 0; y < 30; ++y) std::fill_n(picture.row(y), 120, std::uint8_t{0x80});
    const auto path = f.folder / "我的图片.bmp";
    imaging::writeBmp(picture, path);
    f.state->CurrentPicturePath = path;
    SaveTmpPic(*f.state);

    app::TMainFrm& w = f.create();
    QSignalSpy loaded(&w, &app::TMainFrm::currentPictureLoaded);
    f.show();
    ASSERT_TRUE(loaded.count() > 0 || loaded.wait(10000));
    const auto* imgPicMix = test::control<app::TImage>(w, "imgPicMix");
    ASSERT_FALSE(imgPicMix->picture().isNull());
    EXPECT_EQ(imgPicMix->picture().size(), QSize(40, 30));
    EXPECT_EQ(imgPicMix->size(), QSize(40, 30));  // auto-size
    EXPECT_EQ(imgPicMix->picture().pixel(5, 5), qRgb(0x80, 0x80, 0x80));
}

TEST(Startup, AMissingCurrentPictureLeavesThePictureEmpty) {
    test::MainWindowFixture f;
    writeFileBytes(f.folder / "Data/tmppic.ini", (f.folder / "gone.bmp").string() + "\r\n");
    app::TMainFrm& w = f.show();
    const auto* imgPicMix = test::control<app::TImage>(w, "imgPicMix");
    EXPECT_TRUE(imgPicMix->picture().isNull());
    EXPECT_EQ(imgPicMix->size(), QSize(495, 371));
}

TEST(Startup, ASettingsFileThatCannotBeReadKeepsNoOtherFromLoading) {
    test::MainWindowFixture f;
    std::filesystem::create_directories(f.folder / "Data/tmppic.ini");  // a folder: unreadable as a file
    writeFileBytes(f.folder / "Data/configSetBg.ini", "0\r\n");
    writeFileBytes(f.folder / "Data/BGPicList.ini", "b.bmp\r\nA1.bmp\r\nb.bmp\r\n");
    app::TMainFrm& w = f.create();
    EXPECT_TRUE(f.state->CurrentPicturePath.empty());
    EXPECT_FALSE(f.state->ConfirmApply);
    EXPECT_EQ(w.backgroundWalk().CurrentBGFile, "b.bmp");
    EXPECT_EQ(w.backgroundWalk().CurrentBGIndex, 2);
}
