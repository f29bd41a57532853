// Every text the user sees on the failure paths of insert, apply, the
// picker's add, the start and the capture is Chinese, whatever the locale
// (this executable runs under LC_ALL=C): message boxes' texts, informative
// texts and buttons, and the labels of every dialog. Paths, the program's
// name and the names of picture formats may stand in Latin letters.
#include "CaptureTexts.h"
#include "CommandWindowTest.h"
#include "MainTexts.h"
#include "ModalAnswers.h"
#include "PictureEncoders.h"
#include "PictureOpenDialog.h"
#include "WallpaperTexts.h"

#include <QAbstractProxyModel>
#include <QDateTime>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTreeView>

#include <gtest/gtest.h>
#include <png.h>

using namespace tavlo;
using test::ModalAnswers;
namespace fs = std::filesystem;

namespace {

// The Latin words of `text` that are neither a path nor an allowed name.
QStringList latinWords(QString text, const QStringList& allowed = {}) {
    static const QRegularExpression path(QStringLiteral("/[^\\s“”：，。、（）]+"));
    static const QRegularExpression word(QStringLiteral("[A-Za-z]{2,}"));
    text.remove(path);
    static const QStringList names = {QStringLiteral("Tavlo"), QStringLiteral("BMP"), QStringLiteral("JPEG"),
                                      QStringLiteral("JPG"),   QStringLiteral("PNG"), QStringLiteral("GIF")};
    QStringList found;
    for (auto it = word.globalMatch(text); it.hasNext();) {
        const QString w = it.next().captured();
        if (!names.contains(w) && !allowed.contains(w)) found << w;
    }
    return found;
}

bool hasChinese(const QString& text) {
    static const QRegularExpression han(QStringLiteral("\\p{Han}"));
    return text.contains(han);
}

// Each text must be Chinese: some Chinese, no Latin words but the allowed.
void expectChinese(const std::vector<QString>& shown, const char* step, const QStringList& allowed = {}) {
    EXPECT_FALSE(shown.empty()) << step << ": nothing was shown";
    for (const QString& text : shown) {
        if (text.trimmed().isEmpty() || text == QStringLiteral("X")) continue;  // a close button's cross
        EXPECT_TRUE(hasChinese(text)) << step << ": " << text.toStdString();
        EXPECT_TRUE(latinWords(text, allowed).isEmpty())
            << step << ": " << latinWords(text, allowed).join(u' ').toStdString() << " in " << text.toStdString();
    }
}

std::string cut(const test::Bytes& bytes) {
    return std::string(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(bytes.size() / 2));
}

// A damaged picture of each format, under its own extension.
struct Damaged {
    const char* name;
    std::string bytes;
};

std::vector<Damaged> damagedPictures() {
    const imaging::Bitmap picture = test::gradientPicture(40, 30);
    const test::Bytes png = test::encodePng({2, 1, PNG_COLOR_TYPE_RGB, 8, false, {{0, 0, 255, 9, 9, 9}}});
    const test::Bytes gif =
        test::encodeGif(2, 1, {0, 0, 0, 255, 255, 255}, {test::GifFrame{0, 0, 2, 1, false, -1, {}, {0, 1}}});
    std::string bmp = "BM";
    bmp.resize(60, '\x7F');
    return {{"cut.bmp", bmp},
            {"cut.jpg", "\xFF\xD8\xFF\xE0"},
            {"cut.png", cut(png)},
            {"cut.gif", cut(gif)},
            {"text.jpg", "not a picture at all"}};
}

class ShownTexts : public test::CommandWindowTest {
protected:
    void SetUp() override {
        CommandWindowTest::SetUp();
        picker->setChooseFile([this](QWidget*) { return std::optional{chosen.front()}; });
    }
    fs::path file(const std::string& name, const std::string& bytes) {
        return CommandWindowTest::file(name, test::Bytes(bytes.begin(), bytes.end()));
    }
    // What insert, apply (answering the question with OK) and the picker's
    // add (pressing Add) showed.
    std::vector<QString> insert(const fs::path& path) {
        chosen = {path};
        ModalAnswers answers;
        clickInsert();
        return answers.shown;
    }
    std::vector<QString> apply() {
        ModalAnswers answers([](QWidget* modal) { test::control<QPushButton>(*modal, "btnok")->click(); });
        clickApply();
        return answers.shown;
    }
    std::vector<QString> addBackground(const fs::path& path) {
        chosen = {path};
        ModalAnswers answers([](QWidget* modal) { test::control<QPushButton>(*modal, "btnAdd")->click(); });
        clickBackgrounds();
        return answers.shown;
    }
};

}  // namespace

TEST_F(ShownTexts, InsertAndAddOfDamagedPictures) {
    for (const Damaged& d : damagedPictures()) {
        expectChinese(insert(file(d.name, d.bytes)), d.name);
        expectChinese(addBackground(file(d.name, d.bytes)), d.name);
    }
}

TEST_F(ShownTexts, ApplyWhenThePictureIsDamagedTheFolderRefusesOrTheDesktopRefuses) {
    // Wider than the screen: held in part, read whole from its BMP file at apply.
    insert(file("wide.jpg", [] {
        const test::Bytes jpeg = test::encodeJpeg(test::gradientPicture(2100, 8), 90);
        return std::string(jpeg.begin(), jpeg.end());
    }()));
    const fs::path held = f.state->CurrentPicturePath;
    ASSERT_FALSE(held.empty());
    const std::string whole = test::readFileBytes(held);
    test::writeFileBytes(held, whole.substr(0, whole.size() / 2));
    const std::vector<QString> damaged = apply();
    expectChinese(damaged, "damaged current picture");
    EXPECT_TRUE(desktop->calls().empty());
    test::writeFileBytes(held, whole);

    // The wallpaper's file cannot be written: a folder stands in its place.
    const fs::path mix = f.folder / "source/DeskTopBG/Mix.bmp";
    fs::create_directories(mix);
    expectChinese(apply(), "Mix.bmp unwritable");
    fs::remove(mix);

    desktop->failWith(wallpaper::texts::portalFailed());
    expectChinese(apply(), "desktop refuses");
    ASSERT_EQ(desktop->calls().size(), 1u);

    // The insert's own files cannot be written either.
    fs::create_directories(f.folder / "tmp/tmp.bmp");
    const test::Bytes png = test::encodePng({2, 1, PNG_COLOR_TYPE_RGB, 8, false, {{0, 0, 255, 9, 9, 9}}});
    expectChinese(insert(file("clear.png", std::string(png.begin(), png.end()))), "tmp.bmp unwritable");
}

TEST_F(ShownTexts, AddIntoAFolderThatRefuses) {
    fs::create_directories(f.folder / "pictures");
    imaging::writeBmp(test::gradientPicture(8, 8), f.folder / "pictures/own.bmp");
    fs::create_directories(f.folder / "source/DeskTopBG/own.bmp/inside");
    expectChinese(addBackground(f.folder / "pictures/own.bmp"), "library unwritable");
}

// The current picture of the last run, damaged since: the decoder's reason
// reaches the user only as a Chinese cause.
TEST(ShownTextsAtStart, ADamagedCurrentPicture) {
    for (const Damaged& d : damagedPictures()) {
        test::MainWindowFixture f;
        const fs::path path = f.folder / d.name;
        test::writeFileBytes(path, d.bytes);
        f.state->CurrentPicturePath = path;
        SaveTmpPic(*f.state);
        app::TMainFrm& w = f.create();
        QSignalSpy loaded(&w, &app::TMainFrm::currentPictureLoaded);
        ModalAnswers answers;
        f.show();
        ASSERT_TRUE(loaded.count() > 0 || loaded.wait(10000)) << d.name;
        expectChinese(answers.shown, d.name);
        const auto names = [&](const QString& text) { return text.contains(QString::fromUtf8(d.name)); };
        EXPECT_TRUE(std::any_of(answers.shown.begin(), answers.shown.end(), names)) << d.name;
    }
}

// What the capture tells when the screen cannot be copied, for every cause
// (the package names are names, as paths are).
TEST(ShownTextsOfCapture, EveryCauseOfAFailedCopy) {
    using screencopy::ScreenCopyCause;
    const std::vector<std::string> packages = {"xdg-desktop-portal-gnome", "xdg-desktop-portal-wlr"};
    for (const ScreenCopyCause cause :
         {ScreenCopyCause::Unreadable, ScreenCopyCause::NoPortal, ScreenCopyCause::NoScreenshotService,
          ScreenCopyCause::ServiceFailed, ScreenCopyCause::NoAnswer, ScreenCopyCause::Cancelled,
          ScreenCopyCause::Refused}) {
        const QString text = captureFailureText(
            screencopy::ScreenCopyError("portal: Screenshot failed: org.example.Error", cause, packages));
        QString withoutPackages = text;
        for (const std::string& p : packages) withoutPackages.remove(QString::fromStdString(p));
        expectChinese({withoutPackages}, "capture");
    }
}

// The open dialog under the C locale: its own texts, the file types and the
// dates in Chinese, the filter spelled out and taking any case, room for its
// four columns, and a preview of the picture under the cursor.
TEST(ShownTextsOfOpenDialog, ChineseTypesAndDatesTheFilterRoomAndAPreview) {
    test::TempFolder temp;
    const fs::path png = temp.path() / "a.png";
    const test::Bytes pngBytes = test::encodePng({2, 1, PNG_COLOR_TYPE_RGB, 8, false, {{0, 0, 255, 9, 9, 9}}});
    test::writeFileBytes(png, std::string(pngBytes.begin(), pngBytes.end()));
    const test::Bytes jpeg = test::encodeJpeg(test::gradientPicture(8, 8), 90);
    test::writeFileBytes(temp.path() / "B.JPG", std::string(jpeg.begin(), jpeg.end()));
    test::writeFileBytes(temp.path() / "c.txt", "text");
    const QString folder = QString::fromStdString(temp.path().string());

    QStringList listed;
    QString filter, type, date, previewText;
    bool roomForColumns = false, previewShown = false;
    ModalAnswers answers([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        auto* files = dialog->findChild<QFileSystemModel*>();
        ASSERT_NE(files, nullptr);
        QSignalSpy loaded(files, &QFileSystemModel::directoryLoaded);
        const QModelIndex root = files->index(folder);
        if (files->rowCount(root) < 2) {
            ASSERT_TRUE(loaded.wait(10000));
        }
        for (int row = 0; row < files->rowCount(root); ++row) listed << files->index(row, 0, root).data().toString();
        listed.sort();
        filter = dialog->selectedNameFilter();
        const QModelIndex png = files->index(folder + "/a.png");
        const QModelIndex shownPng = dialog->proxyModel() ? dialog->proxyModel()->mapFromSource(png) : png;
        type = shownPng.siblingAtColumn(2).data().toString();
        date = shownPng.siblingAtColumn(3).data().toString();
        auto* list = dialog->findChild<QTreeView*>(QStringLiteral("treeView"));
        ASSERT_NE(list, nullptr);
        ASSERT_EQ(list->model(), shownPng.model());
        roomForColumns = list->viewport()->width() >= list->header()->length() && list->columnWidth(0) >= 250;
        list->setCurrentIndex(shownPng);
        auto* preview = dialog->findChild<QLabel*>(QStringLiteral("picturePreview"));
        ASSERT_NE(preview, nullptr);
        previewShown = !preview->pixmap().isNull();
        previewText = preview->accessibleDescription();
    });
    fs::path last = temp.path();
    QWidget owner;
    widgets::choosePictures(&owner, "picOpenDLg", QString::fromUtf8(app::texts::kPictureFilter), true, last);
    EXPECT_EQ(listed, (QStringList{QStringLiteral("B.JPG"), QStringLiteral("a.png")}));
    EXPECT_EQ(filter, QStringLiteral("图片 (*.bmp *.jpg *.jpeg *.png *.gif)"));
    EXPECT_TRUE(hasChinese(type)) << type.toStdString();
    const QDateTime modified = QFileInfo(folder + "/a.png").lastModified();
    EXPECT_EQ(date, QLocale(QLocale::Chinese, QLocale::China).toString(modified, QLocale::ShortFormat));
    EXPECT_TRUE(roomForColumns);
    EXPECT_TRUE(previewShown);
    EXPECT_EQ(previewText, QStringLiteral("2 × 1 像素"));
    expectChinese(answers.shown, "open dialog", {QStringLiteral("Tavlo")});
}
