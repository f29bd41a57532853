// The borderless window's chrome: remembered geometry, caption buttons,
// dragging and sizing.
#include "ModalAnswers.h"
#include "WindowTestSupport.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

using namespace tavlo;
using app::ButtonFace;
using app::CaptionFaces;
using test::readFileBytes;
using test::writeFileBytes;

// A point of the background picture that no other control covers.
constexpr QPoint kOpenBackground(300, 40);

TEST(FormSize, FirstRunCentresTheWindowAndWritesTheFile) {
    test::MainWindowFixture f;
    app::TMainFrm& w = f.show();
    EXPECT_EQ(w.geometry(), QRect(545, 275, 830, 500));
    EXPECT_EQ(w.NotePage, 1);
    EXPECT_EQ(readFileBytes(f.folder / "Data/FormSize.ini"), "1\r\n830\r\n500\r\n545\r\n275\r\n");
}

TEST(FormSize, ValuesAreTakenWithinTheScreenAndTheFileIsNotRewritten) {
    const struct {
        const char* file;
        QRect geometry;
        int notePage;
    } cases[] = {
        // Off the screen, too small, too large: the window stays on the
        // screen at no less than its minimum size.
        {"1\r\n900\r\n600\r\n-2000\r\n100\r\n", {0, 100, 900, 600}, 1},
        {"1\r\n900\r\n600\r\n1800\r\n900\r\n", {1020, 480, 900, 600}, 1},
        {"2\r\n30\r\n1\r\n10\r\n20\r\n", {10, 20, 700, 466}, 2},
        {"1\r\n30000\r\n20000\r\n-5\r\n7\r\n", {0, 0, 1920, 1080}, 1},
        {"5\r\n1000\r\n700\r\n100\r\n120\r\n", {100, 120, 1000, 700}, 5},
        // Short or damaged files: what is missing or bad takes first-run values.
        {"3\r\n1000\r\n", {545, 275, 1000, 500}, 3},
        {"x\r\n900\r\n?\r\n10\r\n", {10, 275, 900, 500}, 1},
        {"", {545, 275, 830, 500}, 1},
    };
    for (const auto& c : cases) {
        test::MainWindowFixture f;
        writeFileBytes(f.folder / "Data/FormSize.ini", c.file);
        app::TMainFrm& w = f.show();
        EXPECT_EQ(w.geometry(), c.geometry) << c.file;
        EXPECT_EQ(w.NotePage, c.notePage) << c.file;
        EXPECT_EQ(readFileBytes(f.folder / "Data/FormSize.ini"), c.file);
    }
}

TEST(CloseButton, SavesTheGeometryThenEndsTheProgram) {
    test::MainWindowFixture f;
    writeFileBytes(f.folder / "Data/FormSize.ini", "4\r\n830\r\n500\r\n0\r\n0\r\n");
    app::TMainFrm& w = f.show();
    w.move(100, 120);
    w.resize(1000, 700);
    test::mouseMove(w.img_close_normal);
    ASSERT_TRUE(w.img_close_highlight->isVisible());
    test::mouseClick(w.img_close_highlight, Qt::LeftButton);
    EXPECT_EQ(f.terminations, 1);
    EXPECT_EQ(readFileBytes(f.folder / "Data/FormSize.ini"), "4\r\n1000\r\n700\r\n100\r\n120\r\n");
}

TEST(CloseButton, AGeometryFileThatCannotBeWrittenIsReportedAndTheProgramStillEnds) {
    test::MainWindowFixture f;
    app::TMainFrm& w = f.show();
    // A folder where the file should be: no file can replace it, as root too.
    std::filesystem::remove(f.folder / "Data/FormSize.ini");
    std::filesystem::create_directories(f.folder / "Data/FormSize.ini/x");
    test::ModalAnswers answers;
    test::mouseMove(w.img_close_normal);
    test::mouseClick(w.img_close_highlight, Qt::LeftButton);
    ASSERT_EQ(answers.messages.size(), 1u);
    EXPECT_TRUE(answers.messages[0].contains(QStringLiteral("FormSize.ini"))) << answers.messages[0].toStdString();
    EXPECT_EQ(f.terminations, 1);
}

TEST(CloseButton, ReleasingOutsideKeepsThePressedPictureUntilThePointerCrossesTheBackground) {
    test::MainWindowFixture f;
    app::TMainFrm& w = f.show();
    const std::string before = readFileBytes(f.folder / "Data/FormSize.ini");
    test::mouseMove(w.img_close_normal);
    test::mousePress(w.img_close_highlight, Qt::LeftButton);
    EXPECT_EQ(w.captionFaces(), (CaptionFaces{ButtonFace::Down, ButtonFace::Normal}));
    test::mouseRelease(w.img_close_down, Qt::LeftButton, {-300, 200});
    EXPECT_EQ(f.terminations, 0);
    EXPECT_EQ(w.captionFaces().close, ButtonFace::Down);
    test::mouseMove(w.img_close_down);
    EXPECT_EQ(w.captionFaces().close, ButtonFace::Down);
    test::mouseMove(w.imgBG, kOpenBackground);
    EXPECT_EQ(w.captionFaces(), CaptionFaces{});
    EXPECT_EQ(readFileBytes(f.folder / "Data/FormSize.ini"), before);
}

TEST(CaptionButtons, FollowTheStateTable) {
    enum Step {
        OverCloseNormal,
        PressCloseHighlight,
        OverMiniNormal,
        PressMiniHighlight,
        OverBackground,
        OverCloseHighlight,
        OverMiniHighlight,
        ReleaseAway
    };
    const ButtonFace N = ButtonFace::Normal, H = ButtonFace::Highlight, D = ButtonFace::Down;
    const struct {
        std::vector<Step> steps;
        CaptionFaces faces;
    } cases[] = {
        {{}, {N, N}},
        {{OverCloseNormal}, {H, N}},
        {{OverCloseNormal, PressCloseHighlight}, {D, N}},
        {{OverMiniNormal}, {N, H}},
        {{OverMiniNormal, PressMiniHighlight}, {N, D}},
        {{OverMiniNormal, OverCloseNormal}, {H, N}},
        {{OverCloseNormal, OverMiniNormal}, {N, H}},
        {{OverCloseNormal, OverCloseHighlight}, {H, N}},
        {{OverMiniNormal, OverMiniHighlight}, {N, H}},
        {{OverCloseNormal, OverBackground}, {N, N}},
        {{OverMiniNormal, PressMiniHighlight, OverBackground}, {N, D}},  // the pressed button has the mouse
        {{OverMiniNormal, PressMiniHighlight, ReleaseAway}, {N, D}},
        {{OverMiniNormal, PressMiniHighlight, ReleaseAway, OverBackground}, {N, N}},
    };
    for (const auto& c : cases) {
        test::MainWindowFixture f;
        app::TMainFrm& w = f.show();
        for (Step step : c.steps) {
            switch (step) {
            case OverCloseNormal: test::mouseMove(w.img_close_normal); break;
            case PressCloseHighlight: test::mousePress(w.img_close_highlight, Qt::LeftButton); break;
            case OverMiniNormal: test::mouseMove(w.img_mini_normal); break;
            case PressMiniHighlight: test::mousePress(w.img_mini_highlight, Qt::LeftButton); break;
            case OverBackground: test::mouseMove(w.imgBG, kOpenBackground); break;
            case OverCloseHighlight: test::mouseMove(w.img_close_highlight, {5, 5}); break;
            case OverMiniHighlight: test::mouseMove(w.img_mini_highlight, {5, 5}); break;
            case ReleaseAway: test::mouseRelease(w.imgBG, Qt::LeftButton, kOpenBackground + QPoint(3, 0)); break;
            }
        }
        EXPECT_EQ(w.captionFaces(), c.faces) << "after " << c.steps.size() << " steps";
        // Exactly one picture of each button is visible.
        const int closeShown =
            w.img_close_normal->isVisible() + w.img_close_highlight->isVisible() + w.img_close_down->isVisible();
        const int miniShown =
            w.img_mini_normal->isVisible() + w.img_mini_highlight->isVisible() + w.img_mini_down->isVisible();
        EXPECT_EQ(closeShown, 1);
        EXPECT_EQ(miniShown, 1);
        // Let go of any button still held, away from the buttons.
        test::mouseRelease(w.imgBG, Qt::LeftButton, kOpenBackground);
    }
}

TEST(MinimiseButton, MinimisesWithNormalButtonsAndRestoringKeepsTheGeometry) {
    test::MainWindowFixture f;
    app::TMainFrm& w = f.show();
    w.setGeometry(300, 200, 900, 550);
    test::mouseMove(w.img_mini_normal);
    test::mouseClick(w.img_mini_highlight, Qt::LeftButton);
    EXPECT_TRUE(w.isMinimized());
    EXPECT_EQ(w.captionFaces(), CaptionFaces{});
    EXPECT_EQ(f.terminations, 0);

    // The file is applied at the first show only: the restored window is
    // where it was before it was minimised.
    w.showNormal();
    EXPECT_FALSE(w.isMinimized());
    EXPECT_EQ(w.geometry(), QRect(300, 200, 900, 550));
}

TEST(WindowFrame, WithoutAWindowManagerTheWindowFollowsTheMouse) {
    test::MainWindowFixture f;
    app::TMainFrm& w = f.show();
    // Drag by the background: press, move by (40, 25), release.
    test::mousePress(w.imgBG, Qt::LeftButton, kOpenBackground);
    test::mouseMove(w.imgBG, kOpenBackground + QPoint(40, 25));
    // The window has moved under the pointer: the same screen point is back
    // at the window point where the drag began.
    test::mouseRelease(w.imgBG, Qt::LeftButton, kOpenBackground);
    EXPECT_EQ(w.pos(), QPoint(585, 300));

    // Resize by the bottom-right corner: press within the frame margin.
    const QPoint corner(w.width() - 2, w.height() - 2);
    test::mousePress(w.imgBG, Qt::LeftButton, corner);
    test::mouseMove(w.imgBG, corner + QPoint(70, 50));
    test::mouseRelease(w.imgBG, Qt::LeftButton, corner + QPoint(70, 50));
    EXPECT_EQ(w.geometry(), QRect(585, 300, 900, 550));
    EXPECT_EQ(w.img_close_normal->geometry().topLeft(), QPoint(782 + 900 - 822, 1));

    // It cannot be made smaller than its minimum.
    const QPoint newCorner(w.width() - 2, w.height() - 2);
    test::mousePress(w.imgBG, Qt::LeftButton, newCorner);
    test::mouseMove(w.imgBG, newCorner - QPoint(800, 500));
    test::mouseRelease(w.imgBG, Qt::LeftButton, newCorner - QPoint(800, 500));
    EXPECT_EQ(w.geometry(), QRect(585, 300, 700, 466));
}

// The window's idea of its place on the screen may lag behind the window
// manager's (seen under load on a real X server): a press in a control, by
// its own coordinates, is a press there, not at the frame.
TEST(WindowFrame, EdgesComeFromThePointInTheWindowNotFromTheScreen) {
    test::MainWindowFixture f;
    app::TMainFrm& w = f.show();
    f.state->ConfirmApply = false;
    const QPoint inside(w.imgAppToDesk->width() / 2, w.imgAppToDesk->height() / 2);
    // A screen point that the stale place would put on the right edge: the
    // window would start a resize and the apply would never run.
    const QPointF screen = w.mapToGlobal(QPointF(w.width() - 1, w.imgAppToDesk->y() + inside.y()));
    test::ModalAnswers answers;
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, inside, screen, Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w.imgAppToDesk, &event);
    }
    EXPECT_EQ(answers.messages, std::vector<QString>{QStringLiteral("请先插入图片或截图，再更换壁纸。")});
}
