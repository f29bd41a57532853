// The main job through the window: insert a picture, answer the question,
// apply, manage the backgrounds. The desktop is the recording backend.
#include "BmpFormat.h"
#include "CommandWindowTest.h"
#include "ModalAnswers.h"
#include "Picture.h"
#include "PictureEncoders.h"
#include "RecordingWallpaper.h"
#include "WindowTestSupport.h"
#include "uInfoFrm.h"
#include "uPicSel.h"

#include <QCheckBox>
#include <QDialog>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>
#include <QTreeWidget>

#include <gtest/gtest.h>
#include <png.h>

#include <cstring>

using namespace tavlo;
using test::ModalAnswers;
namespace fs = std::filesystem;

namespace {

class MainPath : public test::CommandWindowTest {
protected:
    std::vector<QString> insert(const fs::path& path) {
        chosen = {path};
        ModalAnswers answers;
        clickInsert();
        return answers.messages;
    }
    std::string tmppic() { return test::readFileBytes(f.folder / "Data/tmppic.ini"); }
    app::TImage* imgPicMix() { return test::control<app::TImage>(*f.window, "imgPicMix"); }
    QRgb shownPixel(int x, int y) { return imgPicMix()->picture().pixel(x, y); }
};

const QString kInsertFailed = QStringLiteral("加载该图片失败！");

}  // namespace

TEST_F(MainPath, InsertTurnsEveryFormatIntoABmpAndRemembersIt) {
    const fs::path jpeg = file("photo.JPG", test::encodeJpeg(test::gradientPicture(40, 30), 100));
    EXPECT_TRUE(insert(jpeg).empty());
    EXPECT_EQ(f.state->CurrentPicturePath, f.folder / "pictures/photo.bmp");
    EXPECT_EQ(tmppic(), (f.folder / "pictures/photo.bmp").string() + "\r\n");
    EXPECT_EQ(imgPicMix()->size(), QSize(40, 30));

    const std::vector<std::uint8_t> colours = {255, 0, 0, 0, 0, 255};
    const fs::path gif = file("anim.GIF", test::encodeGif(2, 1, colours,
                                                          {test::GifFrame{0, 0, 2, 1, false, -1, {}, {0, 1}},
                                                           test::GifFrame{0, 0, 2, 1, false, -1, {}, {1, 1}}}));
    EXPECT_TRUE(insert(gif).empty());
    EXPECT_EQ(f.state->CurrentPicturePath, f.folder / "pictures/anim.bmp");
    EXPECT_EQ(shownPixel(0, 0), qRgb(255, 0, 0));  // the first frame

    const fs::path png =
        file("clear.PNG", test::encodePng({2, 1, PNG_COLOR_TYPE_RGBA, 8, false, {{0, 0, 255, 255, 9, 9, 9, 0}}}));
    EXPECT_TRUE(insert(png).empty());
    EXPECT_EQ(f.state->CurrentPicturePath, f.folder / "tmp/tmp.bmp");
    EXPECT_EQ(shownPixel(1, 0), qRgb(255, 255, 255));                        // transparent: white
    EXPECT_EQ(imaging::loadPicture(f.folder / "tmp/tmp.bmp").row(0)[2], 0);  // blue pixel: B=255, G=0, R=0

    imaging::writeBmp(test::gradientPicture(8, 8), f.folder / "pictures/own.Bmp");
    EXPECT_TRUE(insert(f.folder / "pictures/own.Bmp").empty());
    EXPECT_EQ(f.state->CurrentPicturePath, f.folder / "pictures/own.Bmp");
}

TEST_F(MainPath, InsertFailuresFollowTheTable) {
    const fs::path jpeg = file("photo.jpg", test::encodeJpeg(test::gradientPicture(40, 30), 100));
    insert(jpeg);
    const std::string remembered = tmppic();

    // Not a picture: nothing changes.
    EXPECT_EQ(insert(file("broken.jpg", {0xFF, 0xD8, 0xFF, 0})), std::vector<QString>{kInsertFailed});
    EXPECT_EQ(tmppic(), remembered);
    EXPECT_EQ(imgPicMix()->size(), QSize(40, 30));

    // An icon: shown, but no BMP for it: the current picture becomes none.
    QImage icon(16, 16, QImage::Format_ARGB32);
    icon.fill(qRgb(0, 128, 0));
    ASSERT_TRUE(icon.save(QString::fromStdString((f.folder / "pictures/app.ico").string()), "ICO"));
    EXPECT_EQ(insert(f.folder / "pictures/app.ico"), std::vector<QString>{kInsertFailed});
    EXPECT_EQ(imgPicMix()->size(), QSize(16, 16));
    EXPECT_TRUE(f.state->CurrentPicturePath.empty());
    EXPECT_EQ(tmppic(), "\r\n");

    // Vanished or cancelled: no message, and nothing changes.
    const QImage shown = imgPicMix()->picture();
    EXPECT_TRUE(insert(f.folder / "pictures/gone.jpg").empty());
    chosen.clear();
    ModalAnswers answers;
    clickInsert();
    EXPECT_TRUE(answers.messages.empty());
    EXPECT_TRUE(f.state->CurrentPicturePath.empty());
    EXPECT_EQ(tmppic(), "\r\n");
    EXPECT_EQ(imgPicMix()->picture(), shown);
    EXPECT_FALSE(fs::exists(f.folder / "pictures/gone.bmp"));
}

// Until there is a picture its area says what to do; after the wallpaper was
// set, a notice in the window says so (no box), and only then.
TEST_F(MainPath, TheEmptyAreaSaysWhatToDoAndASuccessfulApplySaysSo) {
    auto* hint = test::control<QLabel>(*f.window, "lblPicHint");
    auto* applied = test::control<QLabel>(*f.window, "lblApplied");
    EXPECT_TRUE(hint->isVisible());
    EXPECT_TRUE(hint->text().contains(QStringLiteral("插入图片")));
    f.state->ConfirmApply = false;
    {
        ModalAnswers answers;
        clickApply();  // no picture yet: a message, no notice
        EXPECT_EQ(answers.messages.size(), 1u);
    }
    EXPECT_FALSE(applied->isVisible());

    insert(file("photo.jpg", test::encodeJpeg(test::gradientPicture(40, 30), 100)));
    EXPECT_FALSE(hint->isVisible());
    ModalAnswers answers;
    clickApply();
    EXPECT_TRUE(answers.messages.empty());
    ASSERT_EQ(desktop->calls().size(), 1u);
    EXPECT_TRUE(applied->isVisible());
    EXPECT_EQ(applied->text(), QStringLiteral("已设为桌面壁纸"));
}

TEST_F(MainPath, ApplyAsksFirstAndNeverAgainOnceTold) {
    insert(file("photo.jpg", test::encodeJpeg(test::gradientPicture(40, 30), 100)));
    f.state->ConfirmApply = true;
    int asked = 0;
    const auto answer = [&](bool tick, const char* button) {
        return [&, tick, button](QWidget* modal) {
            auto* dialog = qobject_cast<TInforFrm*>(modal);
            ASSERT_NE(dialog, nullptr);
            ++asked;
            EXPECT_EQ(dialog->size(), QSize(344, 156));
            test::control<QCheckBox>(*dialog, "chkSetBgInfo")->setChecked(tick);
            test::control<QPushButton>(*dialog, button)->click();
        };
    };
    {
        ModalAnswers answers(answer(true, "btncancel"));
        clickApply();
    }
    EXPECT_TRUE(desktop->calls().empty());
    EXPECT_TRUE(test::control<QCheckBox>(*question, "chkSetBgInfo")->isChecked());  // kept for the next showing
    EXPECT_EQ(test::readFileBytes(f.folder / "Data/configSetBg.ini"), "1\r\n");
    {
        ModalAnswers answers(answer(false, "btnClose"));
        clickApply();
    }
    EXPECT_TRUE(desktop->calls().empty());
    {
        ModalAnswers answers(answer(true, "btnok"));
        clickApply();
    }
    ASSERT_EQ(desktop->calls(), std::vector<fs::path>{f.folder / "source/DeskTopBG/Mix.bmp"});
    EXPECT_EQ(test::readFileBytes(f.folder / "Data/configSetBg.ini"), "0\r\n");
    EXPECT_FALSE(f.state->ConfirmApply);

    clickApply();  // no question any more
    EXPECT_EQ(asked, 3);
    EXPECT_EQ(desktop->calls().size(), 2u);
    const imaging::Bitmap mix = imaging::loadPicture(f.folder / "source/DeskTopBG/Mix.bmp");
    EXPECT_EQ(mix.width(), 300);
    EXPECT_EQ(mix.row(4)[3 * (300 - 40 - 52)], imaging::loadPicture(f.folder / "pictures/photo.bmp").row(0)[0]);
}

TEST_F(MainPath, ApplyExplainsWhatIsMissingAndReportsFailures) {
    f.state->ConfirmApply = false;
    ModalAnswers answers;
    clickApply();
    ASSERT_EQ(answers.messages.size(), 1u);
    EXPECT_EQ(answers.messages[0], QStringLiteral("请先插入图片或截图，再更换壁纸。"));

    insert(file("photo.jpg", test::encodeJpeg(test::gradientPicture(40, 30), 100)));
    test::writeFileBytes(f.folder / "source/DeskTopBG/A1.bmp", "BM, but broken");
    clickApply();
    EXPECT_EQ(answers.messages.back(), QStringLiteral("加载失败！"));

    imaging::writeBmp(imaging::Bitmap(100, 50, 24), f.folder / "source/DeskTopBG/A1.bmp");
    desktop->failWith("无法打开 X 显示 :0");
    clickApply();  // the cause in Chinese, and where the composite is
    EXPECT_EQ(answers.messages.back(), QStringLiteral("无法设置桌面壁纸：无法打开 X 显示 :0。\n壁纸图片保存在：\n") +
                                           QString::fromStdString((f.folder / "source/DeskTopBG/Mix.bmp").string()) +
                                           QStringLiteral("\n可以在桌面的设置中把这张图片选为壁纸。"));
    EXPECT_EQ(f.window->backgroundWalk().CurrentBGIndex, 1);
}

TEST_F(MainPath, PickerAddsAndChoosesABackgroundThatTheNextApplyUses) {
    insert(file("photo.jpg", test::encodeJpeg(test::gradientPicture(40, 30), 100)));
    f.state->ConfirmApply = false;
    imaging::Bitmap red(320, 240, 24);
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x) red.row(y)[3 * x + 2] = 200;
    const fs::path jpeg = file("red.jpg", test::encodeJpeg(red, 100));
    const fs::path png = file("flat.png", test::encodePng({1, 1, PNG_COLOR_TYPE_RGB, 8, false, {{1, 2, 3}}}));
    const fs::path text = file("notes.txt", test::Bytes{'h', 'i'});
    const std::vector<fs::path> choices{png, text, jpeg};
    std::size_t calls = 0;
    picker->setChooseFile([&](QWidget*) -> std::optional<fs::path> { return choices.at(calls++); });
    std::vector<QString> messages;
    {
        ModalAnswers answers([&](QWidget* modal) {
            ASSERT_EQ(modal, picker.get());
            EXPECT_EQ(picker->size(), QSize(524, 286));
            auto* add = test::control<QPushButton>(*picker, "btnAdd");
            auto* list = test::control<QTreeWidget>(*picker, "LVpic");
            add->click();  // the PNG, as the insert command takes it
            add->click();  // the text file: refused, and the message says why
            add->click();  // the JPEG
            ASSERT_EQ(list->topLevelItemCount(), 3);
            list->setCurrentItem(list->topLevelItem(2));
            test::control<QPushButton>(*picker, "btnOk")->click();
        });
        clickBackgrounds();
        messages = answers.messages;
    }
    EXPECT_EQ(messages,
              std::vector<QString>{QStringLiteral("添加背景图片异常，请重试！\n只能添加 BMP、JPG、PNG 或 GIF 图片。")});
    EXPECT_EQ(test::readFileBytes(f.folder / "Data/BGPicList.ini"), "red.bmp\r\nA1.bmp\r\nflat.bmp\r\nred.bmp\r\n");
    EXPECT_EQ(imaging::loadPicture(f.folder / "source/DeskTopBG/flat.bmp").width(), 1);
    EXPECT_EQ(f.window->backgroundWalk().CurrentBGFile, "red.bmp");
    EXPECT_EQ(f.window->backgroundWalk().CurrentBGIndex, 3);

    clickApply();
    const imaging::Bitmap mix = imaging::loadPicture(f.folder / "source/DeskTopBG/Mix.bmp");
    EXPECT_EQ(mix.width(), 320);
    EXPECT_NEAR(mix.row(200)[2], 200, 3);  // the red background
    EXPECT_EQ(f.window->backgroundWalk().CurrentBGIndex, 2);
}

// A picture larger than the screen: only what the window can ever show of it
// is held, painted as the whole would be; the apply pastes the whole, read
// again from its BMP file.
TEST_F(MainPath, APictureLargerThanTheScreenIsHeldInPartAndPastedWhole) {
    const QSize screen = f.window->screen()->virtualSize();
    const int width = screen.width() + 30, height = screen.height() + 20;
    const fs::path jpeg = file("wide.jpg", test::encodeJpeg(test::gradientPicture(width, height), 90));
    EXPECT_TRUE(insert(jpeg).empty());
    const imaging::Bitmap whole = imaging::loadPicture(f.folder / "pictures/wide.bmp");
    EXPECT_EQ(whole.pixels(), imaging::loadPicture(jpeg).pixels());

    EXPECT_EQ(imgPicMix()->size(), QSize(width, height));
    const QImage shown = imgPicMix()->picture();
    EXPECT_EQ(shown.size(), screen);
    for (const QPoint at : {QPoint(0, 0), QPoint(screen.width() - 1, screen.height() - 1), QPoint(17, 300)}) {
        const std::uint8_t* bgr = whole.row(at.y()) + 3 * at.x();
        EXPECT_EQ(shownPixel(at.x(), at.y()), qRgb(bgr[2], bgr[1], bgr[0]));
    }

    imaging::Bitmap background(width + 100, height + 10, 24);
    imaging::writeBmp(background, f.state->folder.pathForWrite("source\\DeskTopBG\\A1.bmp"));
    f.state->ConfirmApply = false;
    ModalAnswers answers;
    clickApply();
    EXPECT_TRUE(answers.messages.empty());
    EXPECT_EQ(imaging::loadPicture(f.folder / "source/DeskTopBG/Content.bmp").pixels(), whole.pixels());
    const imaging::Bitmap mix = imaging::loadPicture(f.folder / "source/DeskTopBG/Mix.bmp");
    EXPECT_EQ(std::memcmp(mix.row(4 + height - 1) + 3 * 48, whole.row(height - 1), 3 * std::size_t(width)), 0);
}
