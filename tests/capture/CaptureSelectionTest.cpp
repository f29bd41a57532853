// The selection of the capture window without the window: the inverted
// frame, the moves and their bounds, the cut.
#include "CapturePictures.h"
#include "CaptureSelection.h"
#include "CaptureTexts.h"
#include "FixedScreenCopy.h"
#include "SelectionFrame.h"

#include <gtest/gtest.h>

namespace tavlo {
namespace {

constexpr int kWidth = 100, kHeight = 80;

// Pixels of `image` that differ from `reference`.
std::vector<QPoint> differences(const QImage& image, const QImage& reference) {
    std::vector<QPoint> points;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != reference.pixel(x, y)) points.emplace_back(x, y);
    return points;
}

TEST(SelectionFrame, OutlineInvertsEachPixelOnceAndTwiceRestores) {
    struct Case {
        QRect rect;
        int width;   // of the outline, in picture pixels
        int pixels;  // outline pixels inside the picture
    } cases[] = {
        {QRect(10, 20, 30, 15), 1, 2 * 30 + 2 * 13},
        {QRect(5, 5, 1, 1), 1, 1},
        {QRect(5, 5, 1, 9), 1, 9},
        {QRect(5, 5, 9, 1), 1, 9},
        {QRect(5, 5, 2, 2), 1, 4},
        {QRect(90, 70, 20, 20), 1, 10 + 9},  // right and bottom edges lie off the picture
        {QRect(5, 5, 0, 9), 1, 0},
        // Thicker, for a picture shown shrunk: the bands lie inside the rectangle.
        {QRect(10, 20, 30, 15), 2, 30 * 15 - 26 * 11},
        {QRect(5, 5, 3, 9), 2, 27},  // the side bands meet: every pixel once
        {QRect(5, 5, 4, 4), 3, 16},
    };
    const QImage original = test::patternImage(kWidth, kHeight);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rect.x() * 1000 + c.rect.width() * 10 + c.width);
        QImage picture = original;
        invertOutline(picture, c.rect, c.width);
        const std::vector<QPoint> changed = differences(picture, original);
        EXPECT_EQ(static_cast<int>(changed.size()), c.pixels);
        for (const QPoint& p : changed) {
            EXPECT_EQ(picture.pixel(p), original.pixel(p) ^ 0x00FFFFFFu);
            EXPECT_TRUE(outlineRegion(c.rect, c.width).contains(p));
        }
        invertOutline(picture, c.rect, c.width);
        EXPECT_TRUE(differences(picture, original).empty());
    }
}

TEST(SelectionFrame, CornersInEitherOrderGiveTheSameRectangle) {
    EXPECT_EQ(normalisedSelection(10, 20, 40, 35), QRect(10, 20, 30, 15));
    EXPECT_EQ(normalisedSelection(40, 35, 10, 20), QRect(10, 20, 30, 15));
    EXPECT_EQ(normalisedSelection(40, 20, 10, 35), QRect(10, 20, 30, 15));
    EXPECT_TRUE(normalisedSelection(10, 20, 10, 35).isEmpty());
}

class CaptureSelectionTest : public ::testing::Test {
protected:
    // A selection made by dragging from (ax, ay) to (bx, by) and releasing.
    void make(int ax, int ay, int bx, int by) {
        selection.mouseDown(ax, ay, CaptureCursor::Cross);
        selection.mouseMove(bx, by);
        selection.mouseUp();
    }
    // The picture as it must look with a frame around `rect` (or none).
    QImage withFrame(QRect rect) const {
        QImage expected = original;
        invertOutline(expected, rect);
        return expected;
    }

    const QImage original = test::patternImage(kWidth, kHeight);
    QImage picture = original;
    CaptureSelection selection{picture};
};

TEST_F(CaptureSelectionTest, DraggingRedrawsOneFrameAndReleasingMakesTheSelection) {
    selection.mouseDown(10, 20, CaptureCursor::Cross);
    EXPECT_EQ(selection.SelState(), SelectionState::Dragging);
    EXPECT_FALSE(selection.BandDrawn());
    selection.mouseMove(30, 40);
    selection.mouseMove(50, 35);
    EXPECT_TRUE(selection.BandDrawn());
    EXPECT_EQ(picture, withFrame(QRect(10, 20, 40, 15)));
    selection.mouseUp();
    EXPECT_EQ(selection.SelState(), SelectionState::Made);
    EXPECT_FALSE(selection.MouseHeld());
    EXPECT_EQ(selection.size(), QSize(40, 15));
    EXPECT_FALSE(selection.takeDirty().isEmpty());
}

TEST_F(CaptureSelectionTest, CursorIsTheMoveCursorOnlyStrictlyInsideAMadeSelection) {
    EXPECT_EQ(selection.mouseMove(5, 5), CaptureCursor::Arrow);
    make(10, 20, 50, 60);
    EXPECT_EQ(selection.mouseMove(30, 30), CaptureCursor::Move);
    EXPECT_EQ(selection.mouseMove(10, 30), CaptureCursor::Arrow);
    EXPECT_EQ(selection.mouseMove(50, 30), CaptureCursor::Arrow);
    EXPECT_EQ(selection.mouseMove(30, 60), CaptureCursor::Arrow);
}

TEST_F(CaptureSelectionTest, DraggingInsideMovesTheSelectionAndItsFrame) {
    make(10, 20, 50, 60);
    selection.mouseDown(30, 30, selection.mouseMove(30, 30));
    EXPECT_EQ(selection.SelState(), SelectionState::Made);
    EXPECT_TRUE(selection.MouseHeld());
    selection.mouseMove(35, 28);
    EXPECT_EQ(QRect(selection.startCorner(), selection.endCorner()), QRect(QPoint(15, 18), QPoint(55, 58)));
    EXPECT_EQ(picture, withFrame(QRect(15, 18, 40, 40)));
}

TEST_F(CaptureSelectionTest, MovesStayInsideThePictureOneAxisAtATime) {
    struct Case {
        int dx, dy;
        QRect after;  // x1, y1 – x2, y2 as a rect from the corners
    } cases[] = {
        {-9, 0, QRect(QPoint(1, 20), QPoint(41, 60))},    // left edge reaches 1
        {-10, 0, QRect(QPoint(10, 20), QPoint(50, 60))},  // would reach 0: ignored
        {50, 0, QRect(QPoint(60, 20), QPoint(100, 60))},  // right edge reaches the width
        {51, 0, QRect(QPoint(10, 20), QPoint(50, 60))},  {0, -19, QRect(QPoint(10, 1), QPoint(50, 41))},
        {0, 21, QRect(QPoint(10, 20), QPoint(50, 60))},   // bottom would pass the height
        {-10, 5, QRect(QPoint(10, 25), QPoint(50, 65))},  // x ignored, y applied
        {7, -20, QRect(QPoint(17, 20), QPoint(57, 60))},  // x applied, y ignored
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.dx) + ", " + std::to_string(c.dy));
        QImage fresh = original;
        CaptureSelection s(fresh);
        s.mouseDown(10, 20, CaptureCursor::Cross);
        s.mouseMove(50, 60);
        s.mouseUp();
        s.moveBy(c.dx, c.dy);
        EXPECT_EQ(QRect(s.startCorner(), s.endCorner()), c.after);
        QImage expected = original;
        invertOutline(expected, normalisedSelection(c.after.left(), c.after.top(), c.after.right(), c.after.bottom()));
        EXPECT_EQ(fresh, expected);
    }
}

TEST_F(CaptureSelectionTest, SelectionDraggedTowardsTheUpperLeftCannotBeMovedButIsCutInOrder) {
    make(50, 60, 10, 20);
    EXPECT_EQ(selection.mouseMove(30, 30), CaptureCursor::Arrow);
    selection.mouseDown(30, 30, CaptureCursor::Arrow);
    selection.mouseMove(35, 35);
    EXPECT_EQ(selection.startCorner(), QPoint(50, 60));
    EXPECT_EQ(selection.endCorner(), QPoint(10, 20));

    const std::optional<QImage> cut = selection.cutSelection();
    ASSERT_TRUE(cut);
    EXPECT_EQ(*cut, original.copy(10, 20, 40, 40));
    EXPECT_EQ(picture, original) << "the frame is erased before the copy";
    EXPECT_EQ(selection.startCorner(), QPoint(10, 20));
    EXPECT_EQ(selection.endCorner(), QPoint(50, 60));
    selection.sent();
    EXPECT_EQ(selection.SelState(), SelectionState::None);
    EXPECT_FALSE(selection.BandDrawn());
}

TEST_F(CaptureSelectionTest, AFailedSendDrawsTheFrameAgain) {
    make(10, 20, 50, 60);
    ASSERT_TRUE(selection.cutSelection());
    selection.sendFailed();
    EXPECT_EQ(selection.SelState(), SelectionState::Made);
    EXPECT_TRUE(selection.BandDrawn());
    EXPECT_EQ(picture, withFrame(QRect(10, 20, 40, 40)));
    selection.cancel();
    EXPECT_EQ(picture, original);
}

TEST_F(CaptureSelectionTest, ASelectionOfZeroWidthOrHeightIsNotCut) {
    make(10, 20, 10, 60);
    EXPECT_FALSE(selection.cutSelection());
    EXPECT_EQ(selection.SelState(), SelectionState::Made);
    EXPECT_EQ(selection.startCorner().x(), 10);
    QImage other = original;
    CaptureSelection click(other);
    click.mouseDown(30, 30, CaptureCursor::Cross);
    click.mouseUp();
    EXPECT_FALSE(click.cutSelection());
    EXPECT_EQ(click.SelState(), SelectionState::Made);
}

TEST_F(CaptureSelectionTest, CancelClearsASelectionAndAsksToCloseOnlyWithoutOne) {
    selection.mouseDown(10, 20, CaptureCursor::Cross);
    selection.mouseMove(50, 60);
    EXPECT_FALSE(selection.cancel()) << "state 1";
    EXPECT_EQ(selection.SelState(), SelectionState::None);
    EXPECT_EQ(picture, original);
    EXPECT_TRUE(selection.cancel());
    make(10, 20, 50, 60);
    EXPECT_FALSE(selection.cancel()) << "state 2";
    EXPECT_EQ(picture, original);
    EXPECT_TRUE(selection.cancel());
}

TEST_F(CaptureSelectionTest, EscapeErasesTheFrame) {
    make(10, 20, 50, 60);
    selection.escape();
    EXPECT_EQ(picture, original);
}

TEST(CaptureTexts, ReadoutAndSize) {
    EXPECT_EQ(pixelReadout(255, 0, 17), QStringLiteral("当前像素RGB值（255、0、17）"));
    EXPECT_EQ(selectionSizeText(640, 7), QStringLiteral("640 × 7"));
}

TEST(FixedScreenCopy, CopiesFromTheOriginRecordsTheSizeAndPadsWithBlack) {
    screencopy::FixedScreenCopy copy(test::patternScreen(4, 3));
    const screencopy::ScreenPicture picture = copy.CopyScreen(5, 2);
    ASSERT_EQ(copy.requests(), (std::vector<std::pair<int, int>>{{5, 2}}));
    EXPECT_EQ(picture.width, 5);
    EXPECT_EQ(picture.pixel(3, 1), qRgb(3, 1, 34));
    EXPECT_EQ(picture.pixel(4, 1), 0xFF000000u);
    EXPECT_THROW(copy.CopyScreen(0, 10), screencopy::ScreenCopyError);
    auto failing = screencopy::FixedScreenCopy::failing(screencopy::ScreenCopyError("no screen here"));
    EXPECT_THROW(failing.CopyScreen(5, 2), screencopy::ScreenCopyError);
}

// A compositor's screenshot holds the whole desktop at the compositor's own
// scale, which the toolkit may not know: the scale comes from the picture.
TEST(PrimaryScreenOfDesktop, TakesTheScaleFromThePictureAndCutsThePrimaryScreen) {
    struct Case {
        const char* what;
        int pictureWidth, pictureHeight;
        screencopy::ScreenLayout layout;
        double ratio;
        QSize size;
        QPoint origin;  // where the still's (0, 0) lies in the picture
    } cases[] = {
        {"scale 1", 64, 48, {64, 48, 1, 0, 0, 64, 48}, 1, {64, 48}, {0, 0}},
        {"scale 2, the toolkit at 1", 128, 96, {64, 48, 1, 0, 0, 64, 48}, 2, {128, 96}, {0, 0}},
        {"scale 1.5, the toolkit at 2", 96, 72, {64, 48, 2, 0, 0, 64, 48}, 1.5, {96, 72}, {0, 0}},
        {"a second screen on the right", 256, 96, {64, 48, 1, 0, 0, 128, 48}, 2, {128, 96}, {0, 0}},
        {"a second screen on the left", 256, 96, {64, 48, 1, -64, 0, 128, 48}, 2, {128, 96}, {128, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const screencopy::ScreenStill still =
            screencopy::primaryScreenOfDesktop(test::patternScreen(c.pictureWidth, c.pictureHeight), c.layout);
        EXPECT_DOUBLE_EQ(still.ratio, c.ratio);
        ASSERT_EQ(QSize(still.picture.width, still.picture.height), c.size);
        const screencopy::ScreenPicture desktop = test::patternScreen(c.pictureWidth, c.pictureHeight);
        for (const QPoint at : {QPoint(0, 0), QPoint(c.size.width() - 1, c.size.height() - 1)})
            EXPECT_EQ(still.picture.pixel(at.x(), at.y()), desktop.pixel(c.origin.x() + at.x(), c.origin.y() + at.y()));
    }
    EXPECT_THROW(screencopy::primaryScreenOfDesktop(test::patternScreen(4, 4), {}), screencopy::ScreenCopyError);
}

TEST(CropAt, PadsWhatLiesOffTheSourceWithBlack) {
    const screencopy::ScreenPicture source = test::patternScreen(4, 3);
    const screencopy::ScreenPicture cut = screencopy::cropAt(source, -1, 1, 6, 3);
    EXPECT_EQ(cut.pixel(0, 0), 0xFF000000u);
    EXPECT_EQ(cut.pixel(1, 0), source.pixel(0, 1));
    EXPECT_EQ(cut.pixel(4, 1), source.pixel(3, 2));
    EXPECT_EQ(cut.pixel(5, 1), 0xFF000000u);
    EXPECT_EQ(cut.pixel(2, 2), 0xFF000000u);
    EXPECT_EQ(screencopy::cropAt(source, 10, 10, 2, 2).pixel(1, 1), 0xFF000000u);
}

// The user reads why in Chinese, with the packages that would mend it; the
// mechanism's own words go to the log only.
TEST(CaptureTexts, FailureNamesTheCauseAndThePackages) {
    using screencopy::ScreenCopyCause;
    using screencopy::ScreenCopyError;
    struct Case {
        ScreenCopyError error;
        QString text;
    } cases[] = {
        {ScreenCopyError("x11: cannot open the display"), QStringLiteral("截取屏幕失败！\n无法读取屏幕画面。")},
        {ScreenCopyError("portal: No such interface", ScreenCopyCause::NoScreenshotService,
                         {"xdg-desktop-portal-wlr", "xdg-desktop-portal-gtk"}),
         QStringLiteral("截取屏幕失败！\n桌面的截图服务缺失：桌面门户没有为这个桌面提供截图功能。\n"
                        "请安装软件包 xdg-desktop-portal-wlr 和 xdg-desktop-portal-gtk，然后重新登录。")},
        {ScreenCopyError("portal: ServiceUnknown", ScreenCopyCause::NoPortal,
                         {"xdg-desktop-portal", "xdg-desktop-portal-wlr", "xdg-desktop-portal-gtk"}),
         QStringLiteral(
             "截取屏幕失败！\n桌面的截图服务缺失：桌面门户服务没有运行。\n"
             "请安装软件包 xdg-desktop-portal、xdg-desktop-portal-wlr 和 xdg-desktop-portal-gtk，然后重新登录。")},
        {ScreenCopyError("portal: response 2", ScreenCopyCause::ServiceFailed, {"xdg-desktop-portal-kde"}),
         QStringLiteral(
             "截取屏幕失败！\n桌面的截图服务未能截取屏幕。\n请安装软件包 xdg-desktop-portal-kde，然后重新登录。")},
        {ScreenCopyError("portal: silent", ScreenCopyCause::NoAnswer),
         QStringLiteral("截取屏幕失败！\n桌面的截图服务没有应答。")},
        {ScreenCopyError("portal: cancelled", ScreenCopyCause::Cancelled),
         QStringLiteral("截取屏幕失败！\n截图已被取消。")},
        {ScreenCopyError("portal: NotAllowed", ScreenCopyCause::Refused),
         QStringLiteral("截取屏幕失败！\n桌面拒绝了截图请求。")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.error.what());
        EXPECT_EQ(captureFailureText(c.error), c.text);
    }
}

}  // namespace
}  // namespace tavlo
