// The screenshot command through the main window: the question, hiding,
// the posted WM_COPYSCREEN, the capture window over a fixed screen, and the
// hand-over of the sent picture.
#include "BmpFormat.h"
#include "CaptureController.h"
#include "CapturePictures.h"
#include "CaptureTexts.h"
#include "CopyScreenFrm.h"
#include "FixedScreenCopy.h"
#include "ModalAnswers.h"
#include "Picture.h"
#include "TScreenImage.h"
#include "WindowTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <functional>

using namespace tavlo;

namespace {

constexpr int kWidth = TAVLO_TEST_SCREEN_WIDTH, kHeight = TAVLO_TEST_SCREEN_HEIGHT;

screencopy::ScreenPicture screenPattern() {
    screencopy::ScreenPicture picture = screencopy::blackPicture(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            picture.pixels[static_cast<std::size_t>(y * kWidth + x)] = qRgb(x % 256, y % 256, (x ^ y) % 256);
    return picture;
}

class CaptureCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        main = &fixture.show();
        auto copy = std::make_unique<screencopy::FixedScreenCopy>(screenPattern());
        screen = copy.get();
        main->capture().setScreenCopy(std::move(copy));
        main->capture().setAskMinimise([this](QWidget*) {
            ++questions;
            return answer;
        });
    }

    // Clicks "截  图" and runs the event loop until the capture window is
    // open or the copy has failed (and its message has been answered).
    TCopyScreenForm* capture() {
        CaptureController& controller = main->capture();
        QEventLoop loop;
        bool ended = false;
        const auto end = [&] {
            ended = true;
            loop.quit();
        };
        const QMetaObject::Connection opened = QObject::connect(&controller, &CaptureController::windowOpened, end);
        const QMetaObject::Connection failed = QObject::connect(&controller, &CaptureController::failed, end);
        clickCapture();
        if (!ended) loop.exec();
        QObject::disconnect(opened);
        QObject::disconnect(failed);
        return openCaptureWindow();
    }

    void clickCapture() { test::mouseClick(test::control<QToolButton>(*main, "SpeedButton1"), Qt::LeftButton); }

    // The capture window the command opened over the screen, if any.
    TCopyScreenForm* openCaptureWindow() const {
        TCopyScreenForm* open = nullptr;
        for (TCopyScreenForm* form : main->findChildren<TCopyScreenForm*>(Qt::FindDirectChildrenOnly))
            if (form->isVisible()) open = form;
        return open;
    }

    void drag(TCopyScreenForm* form, QPoint from, QPoint to) {
        auto* screenImage = test::control<TScreenImage>(*form, "ImgScreen");
        test::mousePress(screenImage, Qt::LeftButton, from);
        test::mouseMove(screenImage, (from + to) / 2);
        test::mouseMove(screenImage, to);
        test::mouseRelease(screenImage, Qt::LeftButton, to);
    }

    // A right click with nothing selected closes the capture window.
    void rightClickToClose(TCopyScreenForm* form) {
        test::mousePress(test::control<TScreenImage>(*form, "ImgScreen"), Qt::RightButton, {500, 400});
        QTest::mouseRelease(main->windowHandle(), Qt::RightButton);
    }

    static void destroyClosedWindows() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    test::MainWindowFixture fixture;
    app::TMainFrm* main = nullptr;
    screencopy::FixedScreenCopy* screen = nullptr;
    CaptureController::Choice answer = CaptureController::Choice::Minimise;
    int questions = 0;
};

TEST_F(CaptureCommandTest, OkHidesTheWindowAndTheCaptureOpensOverTheWholeScreen) {
    TCopyScreenForm* form = capture();
    EXPECT_EQ(questions, 1);
    EXPECT_FALSE(main->isVisible());
    ASSERT_TRUE(form);
    EXPECT_EQ(screen->requests(), (std::vector<std::pair<int, int>>{{kWidth, kHeight}}));
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->geometry(), QRect(0, 0, kWidth, kHeight));
    EXPECT_EQ(form->parentWidget(), main);
    EXPECT_TRUE(form->testAttribute(Qt::WA_DeleteOnClose));
    EXPECT_EQ(form->screenPicture().pixel(300, 200), screenPattern().pixel(300, 200));
}

TEST_F(CaptureCommandTest, ASentSelectionBecomesTheCurrentPictureAndTheWindowComesBack) {
    QPointer<TCopyScreenForm> form = capture();
    ASSERT_TRUE(form);
    drag(form, {300, 200}, {420, 290});
    QTest::keyClick(form, Qt::Key_Return);
    destroyClosedWindows();
    EXPECT_FALSE(form) << "a closed capture window is destroyed";

    const std::filesystem::path tmp = fixture.folder / "tmp" / "tmp.bmp";
    const imaging::Bitmap written = imaging::loadPicture(tmp);
    ASSERT_EQ(written.width(), 120);
    ASSERT_EQ(written.height(), 90);
    const std::uint8_t* bgr = written.row(89) + 3 * 119;
    EXPECT_EQ(qRgb(bgr[2], bgr[1], bgr[0]), screenPattern().pixel(419, 289));
    EXPECT_EQ(fixture.state->CurrentPicturePath, tmp);
    EXPECT_EQ(test::readFileBytes(fixture.folder / "Data" / "tmppic.ini"), tmp.string() + "\r\n");
    ASSERT_TRUE(main->shownPicture());
    EXPECT_EQ(main->shownPicture()->pixels(), written.pixels());
    EXPECT_EQ(test::control<app::TImage>(*main, "imgPicMix")->size(), QSize(120, 90));
    EXPECT_TRUE(main->isVisible());
    EXPECT_FALSE(main->isMinimized());
}

// "直接截图" captures with the window on screen; Esc ends that capture too,
// and Enter sends its selection.
TEST_F(CaptureCommandTest, InPlaceCapturesWithTheWindowOnScreenAndItsKeysWork) {
    answer = CaptureController::Choice::InPlace;
    QPointer<TCopyScreenForm> first = capture();
    ASSERT_TRUE(first);
    EXPECT_TRUE(main->isVisible());
    drag(first, {300, 200}, {420, 290});
    QTest::keyClick(first, Qt::Key_Escape);
    destroyClosedWindows();
    EXPECT_FALSE(first);
    EXPECT_FALSE(std::filesystem::exists(fixture.folder / "tmp" / "tmp.bmp"));
    EXPECT_EQ(main->capture().phase(), CaptureController::Phase::Idle);

    QPointer<TCopyScreenForm> second = capture();
    ASSERT_TRUE(second);
    EXPECT_EQ(second->selection().SelState(), SelectionState::None);
    EXPECT_EQ(screen->requests().size(), 2u);
    drag(second, {300, 200}, {420, 290});
    QTest::keyClick(second, Qt::Key_Return);
    destroyClosedWindows();
    EXPECT_FALSE(second);
    EXPECT_EQ(imaging::loadPicture(fixture.folder / "tmp" / "tmp.bmp").width(), 120);
}

// 取消 (or Esc in the question) captures nothing: no copy, no window.
TEST_F(CaptureCommandTest, ACancelledQuestionCapturesNothing) {
    answer = CaptureController::Choice::Cancel;
    clickCapture();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(main, kCopyScreenEvent);
    QCoreApplication::processEvents();
    EXPECT_EQ(questions, 1);
    EXPECT_TRUE(screen->requests().empty());
    EXPECT_FALSE(openCaptureWindow());
    EXPECT_TRUE(main->isVisible());
    EXPECT_EQ(main->capture().phase(), CaptureController::Phase::Idle);
}

TEST_F(CaptureCommandTest, AScreenThatCannotBeCopiedIsReportedAndTheWindowComesBack) {
    main->capture().setScreenCopy(std::make_unique<screencopy::FixedScreenCopy>(screencopy::FixedScreenCopy::failing(
        screencopy::ScreenCopyError("portal: Screenshot failed: org.freedesktop.DBus.Error.UnknownMethod",
                                    screencopy::ScreenCopyCause::NoScreenshotService, {"xdg-desktop-portal-wlr"}))));
    test::ModalAnswers answers;
    EXPECT_FALSE(capture());
    // The bus's own words stay in the log.
    EXPECT_EQ(answers.messages,
              std::vector<QString>{QStringLiteral("截取屏幕失败！\n桌面的截图服务缺失：桌面门户没有为这个桌面提供截图"
                                                  "功能。\n请安装软件包 xdg-desktop-portal-wlr，然后重新登录。")});
    EXPECT_TRUE(main->isVisible());
    EXPECT_FALSE(main->isMinimized());
    EXPECT_TRUE(main->findChildren<TCopyScreenForm*>().empty());
}

// While a capture is under way (its copy on the way, or its window open),
// the command and WM_COPYSCREEN are ignored: one question, one copy, one
// window. Once it is over, the next capture starts afresh.
TEST_F(CaptureCommandTest, ACommandWhileACaptureIsUnderWayIsIgnored) {
    answer = CaptureController::Choice::InPlace;  // the button stays on screen
    CaptureController& controller = main->capture();
    QEventLoop loop;
    QObject::connect(&controller, &CaptureController::windowOpened, &loop, &QEventLoop::quit);
    clickCapture();
    EXPECT_NE(controller.phase(), CaptureController::Phase::Idle);
    clickCapture();
    loop.exec();
    EXPECT_EQ(controller.phase(), CaptureController::Phase::Selecting);
    QPointer<TCopyScreenForm> form = openCaptureWindow();
    ASSERT_TRUE(form);
    QCoreApplication::postEvent(main, new QEvent(kCopyScreenEvent));
    QCoreApplication::sendPostedEvents(main, kCopyScreenEvent);
    controller.start();
    QCoreApplication::processEvents();
    EXPECT_EQ(questions, 1);
    EXPECT_EQ(screen->requests().size(), 1u);
    EXPECT_EQ(main->findChildren<TCopyScreenForm*>().size(), 1u);

    QSignalSpy finished(&controller, &CaptureController::finished);
    rightClickToClose(form);
    EXPECT_EQ(finished.size(), 1);
    EXPECT_EQ(controller.phase(), CaptureController::Phase::Idle);
    destroyClosedWindows();
    ASSERT_TRUE(capture());
    EXPECT_EQ(questions, 2);
    EXPECT_EQ(screen->requests().size(), 2u);
}

// A compositor's screenshot at its own scale, which the toolkit does not
// know (an X11 program in a Wayland session sees a screen of window pixels):
// the capture window shows the whole screen at its size, and the selection
// is cut at the picture's resolution.
TEST_F(CaptureCommandTest, ACompositorsScaleGivesTheWholeScreenAndAPhysicalCut) {
    for (const double scale : {1.0, 1.5, 2.0}) {
        SCOPED_TRACE(scale);
        const int physicalWidth = static_cast<int>(kWidth * scale), physicalHeight = static_cast<int>(kHeight * scale);
        const screencopy::ScreenPicture desktop = test::patternScreen(physicalWidth, physicalHeight);
        main->capture().setScreenCopy(
            std::make_unique<screencopy::FixedScreenCopy>(screencopy::FixedScreenCopy::compositor(desktop)));
        QPointer<TCopyScreenForm> form = capture();
        ASSERT_TRUE(form);
        EXPECT_EQ(form->geometry(), QRect(0, 0, kWidth, kHeight));
        EXPECT_EQ(form->screenPicture().size(), QSize(physicalWidth, physicalHeight));

        test::mouseMove(test::control<TScreenImage>(*form, "ImgScreen"), {201, 101});
        const QRgb under = desktop.pixel(static_cast<int>(201 * scale), static_cast<int>(101 * scale));
        EXPECT_EQ(test::control<QLabel>(*form, "LblRGB")->text(),
                  pixelReadout(qRed(under), qGreen(under), qBlue(under)));
        drag(form, {300, 200}, {540, 320});  // 240 × 120 window pixels
        // The frame is as thick as one window pixel, so that it shows when
        // the picture is shrunk onto the window.
        const QPoint corner(static_cast<int>(300 * scale), static_cast<int>(200 * scale));
        const bool thick =
            form->screenPicture().pixel(corner + QPoint(1, 1)) != desktop.pixel(corner.x() + 1, corner.y() + 1);
        EXPECT_EQ(thick, scale > 1);
        QTest::keyClick(form, Qt::Key_Return);
        destroyClosedWindows();
        ASSERT_FALSE(form);

        const imaging::Bitmap written = imaging::loadPicture(fixture.folder / "tmp" / "tmp.bmp");
        ASSERT_EQ(written.width(), static_cast<int>(240 * scale));
        ASSERT_EQ(written.height(), static_cast<int>(120 * scale));
        const QPoint origin(static_cast<int>(300 * scale), static_cast<int>(200 * scale));
        for (const QPoint at : {QPoint(0, 0), QPoint(written.width() - 1, written.height() - 1)}) {
            const std::uint8_t* bgr = written.row(at.y()) + 3 * at.x();
            EXPECT_EQ(qRgb(bgr[2], bgr[1], bgr[0]), desktop.pixel(origin.x() + at.x(), origin.y() + at.y()));
        }
    }
}

// The question's buttons say what they do: the two ways to capture and 取消,
// which Esc presses; Enter takes the first way.
TEST_F(CaptureCommandTest, TheQuestionsButtonsNameTheTwoWaysAndEscCancels) {
    main->capture().setAskMinimise(nullptr);
    struct Case {
        const char* how;
        std::function<void(QMessageBox&)> answer;
        bool captured, minimised;
    };
    const auto press = [](const char* caption) {
        return [caption](QMessageBox& box) {
            for (QAbstractButton* button : box.buttons())
                if (button->text() == QString::fromUtf8(caption)) button->click();
        };
    };
    const std::vector<Case> cases{
        {"最小化后截图", press("最小化后截图"), true, true},
        {"直接截图", press("直接截图"), true, false},
        {"取消", press("取消"), false, false},
        {"Esc", [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); }, false, false},
        {"Enter", [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Return); }, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        QString title, text;
        QStringList captions;
        QTimer answer;
        QObject::connect(&answer, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            answer.stop();
            title = box->windowTitle();
            text = box->text();
            for (QAbstractButton* button : box->buttons()) captions << button->text();
            c.answer(*box);
        });
        answer.start(5);
        if (c.captured) {
            QPointer<TCopyScreenForm> form = capture();
            ASSERT_TRUE(form);
            EXPECT_EQ(main->isVisible(), !c.minimised);
            QTest::keyClick(form, Qt::Key_Escape);
            destroyClosedWindows();
            EXPECT_FALSE(form);
        } else {
            clickCapture();
            QCoreApplication::processEvents();
            EXPECT_FALSE(openCaptureWindow());
            EXPECT_EQ(main->capture().phase(), CaptureController::Phase::Idle);
        }
        EXPECT_TRUE(main->isVisible());
        EXPECT_EQ(title, QStringLiteral("提示"));
        EXPECT_EQ(text, QStringLiteral("     Tavlo 窗口最小化"));
        captions.sort();
        QStringList expected{QStringLiteral("最小化后截图"), QStringLiteral("直接截图"), QStringLiteral("取消")};
        expected.sort();
        EXPECT_EQ(captions, expected);
    }
    EXPECT_TRUE(screen->requests().size() == 3u);
}

// A capture window closed without sending, after "OK": every window the
// program had on screen comes back.
TEST_F(CaptureCommandTest, ACaptureClosedWithoutSendingBringsTheProgramBack) {
    struct Case {
        const char* how;
        bool byRightClick;  // else Esc after a drag
        bool notesOpen;
    };
    for (const Case& c : {Case{"right click", true, false}, Case{"right click", true, true},
                          Case{"escape after a drag", false, true}}) {
        SCOPED_TRACE(std::string(c.how) + (c.notesOpen ? ", notes open" : ""));
        QWidget* notes = nullptr;
        if (c.notesOpen) {
            test::ModalAnswers answers;  // no notes database here: its load failure is shown
            test::control<QAction>(*main, "N_CalNotes")->trigger();
            notes = main->findChild<QWidget*>("NotesFrm");
            ASSERT_TRUE(notes && notes->isVisible());
        }
        QPointer<TCopyScreenForm> form = capture();
        ASSERT_TRUE(form);
        EXPECT_FALSE(main->isVisible());
        if (notes) {
            EXPECT_FALSE(notes->isVisible()) << "the notes window steps aside too";
        }
        if (c.byRightClick) {
            rightClickToClose(form);
        } else {
            drag(form, {300, 200}, {420, 290});
            QTest::keyClick(form, Qt::Key_Escape);
        }
        destroyClosedWindows();
        ASSERT_FALSE(form);
        EXPECT_TRUE(main->isVisible());
        EXPECT_FALSE(main->isMinimized());
        if (notes) {
            EXPECT_TRUE(notes->isVisible());
        }
        EXPECT_FALSE(std::filesystem::exists(fixture.folder / "tmp" / "tmp.bmp"));
        if (notes) notes->close();
    }
}

}  // namespace
