// The capture window on the offscreen platform over a fixed picture: its
// controls, the state table, the hints, the panel that dodges the pointer,
// the readout, sending and its failures.
#include "BmpFormat.h"
#include "CaptureWindowSupport.h"
#include "FileSizeCap.h"
#include "Picture.h"
#include "SelectionFrame.h"
#include "TCaptureMagnifier.h"
#include "TScreenImage.h"

#include <QFrame>
#include <QLabel>

namespace tavlo {
namespace {

using test::CaptureWindowFixture;

// The selection the tests drag, clear of the information panel.
const QPoint kFrom(100, 150), kTo(300, 250);

const QString kOpeningAction = QStringLiteral("按住鼠标左键不放选择截取范围");
const QString kOpeningCancel = QStringLiteral("按鼠标右键退出");
const QString kDraggingAction = QStringLiteral("松开鼠标左键以确定最终截取范围");
const QString kMadeAction = QStringLiteral("按空格/回车/双击左键发送当前选区的图像");
const QString kSelectionCancel = QStringLiteral("按鼠标右键取消当前选区");

class CaptureWindowTest : public CaptureWindowFixture {
protected:
    std::pair<QString, QString> hints() const {
        return {control<QLabel>("LblActionInfo")->text(), control<QLabel>("LblCancelInfo")->text()};
    }

    // The pattern screen with a frame around `rect`.
    static QImage framed(QRect rect) {
        QImage picture = test::patternImage(kWidth, kHeight);
        invertOutline(picture, rect);
        return picture;
    }
    QImage shownPicture() const {
        QImage picture = form->screenPicture();
        picture.setDevicePixelRatio(1);
        return picture;
    }
};

TEST_F(CaptureWindowTest, OpensFullScreenWithThePanelAndItsTexts) {
    open(true, true);
    EXPECT_EQ(form->geometry(), QRect(0, 0, kWidth, kHeight));
    EXPECT_TRUE(form->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(form->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(control<TScreenImage>("ImgScreen")->geometry(), form->rect());
    EXPECT_EQ(control<TScreenImage>("ImgScreen")->cursor().shape(), Qt::CrossCursor);

    EXPECT_EQ(control<QFrame>("PnlInfo")->geometry(), QRect(0, 0, 249, 99));
    EXPECT_EQ(control<QFrame>("PnlInfo")->palette().color(QPalette::Window), QColor(240, 251, 255));
    EXPECT_EQ(control<QFrame>("PnlInfo")->frameShadow(), QFrame::Raised);
    struct Label {
        QLabel* label;
        int y;
        QString text;
    } labels[] = {
        {control<QLabel>("LblRGB"), 8, QStringLiteral("当前像素RGB值（255、255、255）")},
        {control<QLabel>("LblActionInfo"), 32, kOpeningAction},
        {control<QLabel>("LblCancelInfo"), 56, kOpeningCancel},
        {control<QLabel>("Label1"), 80, QStringLiteral("按ESC键退出")},
    };
    for (const Label& l : labels) {
        SCOPED_TRACE(l.label->objectName().toStdString());
        EXPECT_EQ(l.label->parentWidget(), control<QFrame>("PnlInfo"));
        EXPECT_EQ(l.label->pos(), QPoint(8, l.y));
        EXPECT_EQ(l.label->text(), l.text);
        EXPECT_EQ(l.label->font().family(), QStringLiteral("宋体"));
        EXPECT_EQ(l.label->font().pixelSize(), 12);
    }
    EXPECT_EQ(shownPicture(), test::patternImage(kWidth, kHeight));
}

// Steps: P press at kFrom, M move to kTo, R release at kTo, X right click,
// E Esc, N Enter, S Space, D double-click at kTo.
TEST_F(CaptureWindowTest, StateTable) {
    using enum SelectionState;
    struct Case {
        const char* steps;
        SelectionState state;
        bool open;
        bool sent;
        std::pair<QString, QString> hints;
    } cases[] = {
        {"P", Dragging, true, false, {kDraggingAction, kSelectionCancel}},
        {"PM", Dragging, true, false, {kDraggingAction, kSelectionCancel}},
        {"PMR", Made, true, false, {kMadeAction, kSelectionCancel}},
        {"PMX", None, true, false, {kOpeningAction, kOpeningCancel}},
        {"PMRX", None, true, false, {kOpeningAction, kOpeningCancel}},
        {"X", None, false, false},
        {"PMXX", None, false, false},
        {"PMRXX", None, false, false},
        {"E", None, false, false},
        {"PME", Dragging, false, false},
        {"PMRE", Made, false, false},
        {"N", None, true, false, {kOpeningAction, kOpeningCancel}},
        {"S", None, true, false, {kOpeningAction, kOpeningCancel}},
        {"PMN", Dragging, true, false, {kDraggingAction, kSelectionCancel}},
        {"PMRN", None, false, true},
        {"PMRS", None, false, true},
        {"PMRD", None, false, true},
        {"D", Made, true, false, {kMadeAction, kSelectionCancel}},  // a click's empty selection is not sent
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.steps);
        std::filesystem::remove(tmpBmp());
        open();
        for (const char* step = c.steps; *step; ++step) {
            switch (*step) {
            case 'P': press(kFrom); break;
            case 'M':
                move((kFrom + kTo) / 2);
                move(kTo);
                break;
            case 'R': release(kTo); break;
            case 'X':
                press(kTo, Qt::RightButton);
                release(kTo, Qt::RightButton);
                break;
            case 'E': key(Qt::Key_Escape); break;
            case 'N': key(Qt::Key_Return); break;
            case 'S': key(Qt::Key_Space); break;
            case 'D': QTest::mouseDClick(window(), Qt::LeftButton, {}, kTo); break;
            }
        }
        EXPECT_EQ(form->selection().SelState(), c.state);
        EXPECT_EQ(form->isVisible(), c.open);
        EXPECT_EQ(std::filesystem::exists(tmpBmp()), c.sent);
        if (c.open) {
            EXPECT_EQ(hints(), c.hints);
            EXPECT_EQ(shownPicture(), c.state == SelectionState::None ? test::patternImage(kWidth, kHeight)
                                                                      : framed(form->selection().normalised()));
        }
    }
}

// With the main window left on screen the keys work as they do with it
// hidden: Esc closes without sending, Enter and Space send.
TEST_F(CaptureWindowTest, KeysWorkWhileTheMainWindowIsOnScreen) {
    for (const Qt::Key k : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
        SCOPED_TRACE(k);
        std::filesystem::remove(tmpBmp());
        open(false);
        drag(kFrom, kTo);
        key(k);
        EXPECT_FALSE(form->isVisible());
        EXPECT_EQ(std::filesystem::exists(tmpBmp()), k != Qt::Key_Escape);
    }
    std::filesystem::remove(tmpBmp());
    open(false);
    key(Qt::Key_Escape);  // with nothing selected as well
    EXPECT_FALSE(form->isVisible());
}

TEST_F(CaptureWindowTest, PanelJumpsBetweenTheEdgesWhenThePointerReachesIt) {
    open();
    const int right = kWidth - 249 - 8;
    QTest::mouseMove(window(), {100, 50});  // over the panel at 0: to 8
    EXPECT_EQ(control<QFrame>("PnlInfo")->pos(), QPoint(8, 0));
    QTest::mouseMove(window(), {20, 40});  // over a label: to the right
    EXPECT_EQ(control<QFrame>("PnlInfo")->pos(), QPoint(right, 0));
    QTest::mouseMove(window(), {100, 50});  // the panel is gone from here
    EXPECT_EQ(control<QFrame>("PnlInfo")->pos(), QPoint(right, 0));

    // While a selection is dragged the picture sees every position: the
    // panel jumps only when the pointer is strictly inside it.
    press(kFrom);
    move({right, 50});
    EXPECT_EQ(control<QFrame>("PnlInfo")->pos(), QPoint(right, 0));
    move({right + 1, 50});
    EXPECT_EQ(control<QFrame>("PnlInfo")->pos(), QPoint(8, 0));
    release({right + 1, 50});
}

TEST_F(CaptureWindowTest, ReadoutShowsThePictureIncludingTheInvertedFrame) {
    open();
    move({151, 151});
    EXPECT_EQ(control<QLabel>("LblRGB")->text(), QStringLiteral("当前像素RGB值（151、151、204）"));
    drag(kFrom, kTo);
    move({150, 150});  // on the frame's top edge
    EXPECT_EQ(control<QLabel>("LblRGB")->text(), QStringLiteral("当前像素RGB值（105、105、71）"));
}

TEST_F(CaptureWindowTest, SendingWritesTheRegionAndHandsItOver) {
    open();
    drag(kFrom, kTo);
    key(Qt::Key_Return);
    ASSERT_FALSE(form->isVisible());
    const imaging::Bitmap written = imaging::loadPicture(tmpBmp());
    EXPECT_EQ(written.bitsPerPixel(), 24);
    ASSERT_EQ(written.width(), 200);
    ASSERT_EQ(written.height(), 100);
    const QImage screen = test::patternImage(kWidth, kHeight);
    EXPECT_EQ(test::mismatchesWithScreen(written, screen, kFrom), 0);
    EXPECT_EQ(state.CurrentPicturePath, tmpBmp());
    EXPECT_EQ(test::readFileBytes(folder / "Data" / "tmppic.ini"), tmpBmp().string() + "\r\n");
    EXPECT_EQ(shown, std::vector<std::filesystem::path>{tmpBmp()});
    // The main window is handed what the file holds, without reading it back.
    ASSERT_EQ(handed.size(), 1u);
    EXPECT_EQ(handed[0].bitsPerPixel(), written.bitsPerPixel());
    EXPECT_EQ(handed[0].width(), written.width());
    EXPECT_EQ(handed[0].height(), written.height());
    EXPECT_TRUE(handed[0].pixels() == written.pixels());
    EXPECT_TRUE(mainWindow.isVisible());
}

TEST_F(CaptureWindowTest, SelectionDraggedTowardsTheUpperLeftIsSentInOrderButCannotBeMoved) {
    open();
    drag(kTo, kFrom);
    press({200, 200});
    move({210, 205});
    move({220, 210});
    release({220, 210});
    EXPECT_EQ(control<TScreenImage>("ImgScreen")->cursor().shape(), Qt::ArrowCursor);
    key(Qt::Key_Space);
    const imaging::Bitmap written = imaging::loadPicture(tmpBmp());
    ASSERT_EQ(written.width(), 200);
    ASSERT_EQ(written.height(), 100);
    EXPECT_EQ(test::mismatchesWithScreen(written, test::patternImage(kWidth, kHeight), kFrom), 0);
}

TEST_F(CaptureWindowTest, AMadeSelectionMovesWithTheMouseAndTheArrowKeys) {
    open();
    drag(kFrom, kTo);
    press({200, 200});
    EXPECT_EQ(control<TScreenImage>("ImgScreen")->cursor().shape(), Qt::SizeAllCursor);
    move({205, 190});
    move({210, 180});
    EXPECT_TRUE(control<QLabel>("LblSelSize")->isVisible());
    EXPECT_EQ(control<QLabel>("LblSelSize")->text(), QStringLiteral("200 × 100"));
    release({210, 180});
    EXPECT_EQ(form->selection().normalised(), QRect(110, 130, 200, 100));
    key(Qt::Key_Right);
    key(Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(form->selection().normalised(), QRect(111, 120, 200, 100));
    for (int i = 0; i < 20; ++i) key(Qt::Key_Up, Qt::ShiftModifier);  // stops at the top, row 1
    EXPECT_EQ(form->selection().normalised(), QRect(111, 10, 200, 100));
    EXPECT_EQ(shownPicture(), framed(QRect(111, 10, 200, 100)));
}

TEST_F(CaptureWindowTest, MagnifierFollowsThePointerAndStaysOnScreen) {
    open();
    for (QPoint at : {QPoint(300, 300), QPoint(kWidth - 3, kHeight - 2), QPoint(5, kHeight - 1)}) {
        move(at);
        EXPECT_TRUE(control<TCaptureMagnifier>("Magnifier")->isVisible());
        EXPECT_EQ(control<TCaptureMagnifier>("Magnifier")->pixel(), at);
        EXPECT_TRUE(form->rect().contains(control<TCaptureMagnifier>("Magnifier")->geometry()));
        EXPECT_FALSE(control<TCaptureMagnifier>("Magnifier")->geometry().contains(at));
    }
}

TEST_F(CaptureWindowTest, AFailedWriteIsReportedAndTheWindowStaysAsItWas) {
    test::writeFileBytes(folder / "tmp", "a file where the folder should be");
    open();
    drag(kFrom, kTo);
    test::MessageBoxAnswers answers;
    key(Qt::Key_Return);
    ASSERT_EQ(answers.texts.size(), 1u);
    EXPECT_FALSE(answers.texts[0].isEmpty());
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->selection().SelState(), SelectionState::Made);
    EXPECT_EQ(shownPicture(), framed(QRect(kFrom, kTo - QPoint(1, 1))));
    EXPECT_TRUE(shown.empty());
    EXPECT_TRUE(state.CurrentPicturePath.empty());
}

TEST_F(CaptureWindowTest, AFullDiskKeepsTheOldPicture) {
    std::filesystem::create_directory(folder / "tmp");
    test::writeFileBytes(tmpBmp(), "the picture of the last capture");
    open();
    drag(kFrom, kTo);
    test::MessageBoxAnswers answers;
    {
        test::FileSizeCap disk(4096);
        key(Qt::Key_Return);
    }
    EXPECT_EQ(answers.texts.size(), 1u);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(test::readFileBytes(tmpBmp()), "the picture of the last capture");
    key(Qt::Key_Return);  // room again: the same selection goes out
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(imaging::loadPicture(tmpBmp()).width(), 200);
}

}  // namespace
}  // namespace tavlo
