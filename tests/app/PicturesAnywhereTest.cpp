// Pictures from folders the user cannot write, held once in memory, and a
// current picture read without holding up the window.
#include "BmpFormat.h"
#include "Picture.h"
#include "PictureEncoders.h"
#include "ReadOnlyFolder.h"
#include "WindowTestSupport.h"

#include <QSignalSpy>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace tavlo;
namespace fs = std::filesystem;

namespace {

void save(const fs::path& path, const test::Bytes& bytes) {
    test::writeFileBytes(path, std::string(bytes.begin(), bytes.end()));
}

// The picture control shows the rows of the window's own picture.
bool shownWithoutACopy(const app::TMainFrm& w) {
    const auto* imgPicMix = test::control<app::TImage>(w, "imgPicMix");
    return w.shownPicture() && imgPicMix->picture().constBits() == w.shownPicture()->pixels().data();
}

}  // namespace

TEST(InsertPicture, FromAFolderThatCannotBeWrittenTheBmpGoesToTheProgramsTmpFolder) {
    test::MainWindowFixture f;
    app::TMainFrm& w = f.show();
    const imaging::Bitmap picture = test::gradientPicture(40, 30);
    const fs::path share = f.folder / "share";
    save(share / "photo.jpg", test::encodeJpeg(picture, 95));
    w.setChooseFiles([&](QWidget*) { return std::vector<fs::path>{share / "photo.jpg"}; });
    test::ModalAnswers answers;
    {
        const test::ReadOnlyFolder readOnly(share);
        ASSERT_FALSE(readOnly.writable()) << "the folder could not be made read-only";
        test::control<QToolButton>(w, "btnInsertPic")->click();
    }
    EXPECT_FALSE(fs::exists(share / "photo.bmp"));

    EXPECT_TRUE(answers.messages.empty());
    const fs::path converted = f.folder / "tmp" / insertedPictureName(share / "photo.jpg");
    EXPECT_EQ(f.state->CurrentPicturePath, converted);
    EXPECT_EQ(test::readFileBytes(f.folder / "Data/tmppic.ini"), converted.string() + "\r\n");
    EXPECT_EQ(imaging::loadPicture(converted).pixels(), w.shownPicture()->pixels());
    EXPECT_EQ(test::control<app::TImage>(w, "imgPicMix")->size(), QSize(40, 30));
}

TEST(InsertPicture, ThePictureIsHeldOnceForShowingAndPasting) {
    test::MainWindowFixture f;
    app::TMainFrm& w = f.show();
    save(f.folder / "photo.jpg", test::encodeJpeg(test::gradientPicture(40, 30), 95));
    imaging::Bitmap indexed(9, 4, 8);
    indexed.palette = {{10, 20, 30, 0}, {200, 100, 50, 0}};
    indexed.row(1)[3] = 1;
    imaging::writeBmp(indexed, f.folder / "indexed.bmp");
    for (const char* name : {"photo.jpg", "indexed.bmp"}) {
        w.setChooseFiles([&](QWidget*) { return std::vector<fs::path>{f.folder / name}; });
        test::control<QToolButton>(w, "btnInsertPic")->click();
        EXPECT_TRUE(shownWithoutACopy(w)) << name;
    }
    const QImage shown = test::control<app::TImage>(w, "imgPicMix")->picture();
    EXPECT_EQ(shown.pixel(3, 1), qRgb(50, 100, 200));
    EXPECT_EQ(shown.pixel(4, 1), qRgb(30, 20, 10));
    // The file the insert wrote holds what is shown.
    EXPECT_EQ(imaging::loadPicture(f.folder / "photo.bmp").width(), 40);
}

TEST(StartupPicture, IsReadAfterTheFirstShowAndAnInsertMeanwhileWins) {
    for (const bool insertFirst : {false, true}) {
        test::MainWindowFixture f;
        imaging::writeBmp(test::gradientPicture(64, 48), f.folder / "last.bmp");
        imaging::writeBmp(test::gradientPicture(20, 10, 3), f.folder / "new.bmp");
        test::writeFileBytes(f.folder / "Data/tmppic.ini", (f.folder / "last.bmp").string() + "\r\n");
        app::TMainFrm& w = f.create();
        QSignalSpy loaded(&w, &app::TMainFrm::currentPictureLoaded);
        // The read's result comes through the event loop: an insert made
        // before the loop runs again comes first.
        w.show();
        if (insertFirst) {
            w.setChooseFiles([&](QWidget*) { return std::vector<fs::path>{f.folder / "new.bmp"}; });
            test::control<QToolButton>(w, "btnInsertPic")->click();
        }
        ASSERT_TRUE(loaded.count() > 0 || loaded.wait(10000));
        EXPECT_EQ(test::control<app::TImage>(w, "imgPicMix")->size(), insertFirst ? QSize(20, 10) : QSize(64, 48));
        EXPECT_TRUE(shownWithoutACopy(w));
    }
}
