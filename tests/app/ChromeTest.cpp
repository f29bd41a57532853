// The borderless window's chrome: remembered geometry, caption buttons,
// dragging and sizing.
#include "FormGeometry.h"
#include "ModalAnswers.h"
#include "WindowFrame.h"
#include "WindowTestSupport.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
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
    EXPECT_EQ(w.notePage(), 1);
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
        EXPECT_EQ(w.notePage(), c.notePage) << c.file;
        EXPECT_EQ(readFileBytes(f.folder / "Data/FormSize.ini"), c.file);
    }
}

TEST(CloseButton, SavesTheGeometryThenEndsTheProgram) {
    test::MainWindowFixture f;
    writeFileBytes(f.folder / "Data/FormSize.ini", "4\r\n830\r\n500\r\n0\r\n0\r\n");
    app::TMainFrm& w = f.show();
    w.move(100, 120);
    w.resize(1000, 700);
    test::mouseMove(test::control(w, "img_close_normal"));
    ASSERT_TRUE(test::control(w, "img_close_highlight")->isVisible());
    test::mouseClick(test::control(w, "img_close_highlight"), Qt::LeftButton);
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
    test::mouseMove(test::control(w, "img_close_normal"));
    test::mouseClick(test::control(w, "img_close_highlight"), Qt::LeftButton);
    ASSERT_EQ(answers.messages.size(), 1u);
    EXPECT_TRUE(answers.messages[0].contains(QStringLiteral("FormSize.ini"))) << answers.messages[0].toStdString();
    EXPECT_EQ(f.terminations, 1);
}

TEST(CloseButton, ReleasingOutsideKeepsThePressedPictureUntilThePointerCrossesTheBackground) {
    test::MainWindowFixture f;
    app::TMainFrm& w = f.show();
    const std::string before = readFileBytes(f.folder / "Data/FormSize.ini");
    test::mouseMove(test::control(w, "img_close_normal"));
    test::mousePress(test::control(w, "img_close_highlight"), Qt::LeftButton);
    EXPECT_EQ(w.captionFaces(), (CaptionFaces{ButtonFace::Down, ButtonFace::Normal}));
    test::mouseRelease(test::control(w, "img_close_down"), Qt::LeftButton, {-300, 200});
    EXPECT_EQ(f.terminations, 0);
    EXPECT_EQ(w.captionFaces().close, ButtonFace::Down);
    test::mouseMove(test::control(w, "img_close_down"));
    EXPECT_EQ(w.captionFaces().close, ButtonFace::Down);
    test::mouseMove(test::control(w, "imgBG"), kOpenBackground);
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
            case OverCloseNormal: test::mouseMove(test::control(w, "img_close_normal")); break;
            case PressCloseHighlight: test::mousePress(test::control(w, "img_close_highlight"), Qt::LeftButton); break;
            case OverMiniNormal: test::mouseMove(test::control(w, "img_mini_normal")); break;
            case PressMiniHighlight: test::mousePress(test::control(w, "img_mini_highlight"), Qt::LeftButton); break;
            case OverBackground: test::mouseMove(test::control(w, "imgBG"), kOpenBackground); break;
            case OverCloseHighlight: test::mouseMove(test::control(w, "img_close_highlight"), {5, 5}); break;
            case OverMiniHighlight: test::mouseMove(test::control(w, "img_mini_highlight"), {5, 5}); break;
            case ReleaseAway:
                test::mouseRelease(test::control(w, "imgBG"), Qt::LeftButton, kOpenBackground + QPoint(3, 0));
                break;
            }
        }
        EXPECT_EQ(w.captionFaces(), c.faces) << "after " << c.steps.size() << " steps";
        // Exactly one picture of each button is visible.
        const int closeShown = test::control(w, "img_close_normal")->isVisible() +
                               test::control(w, "img_close_highlight")->isVisible() +
                               test::control(w, "img_close_down")->isVisible();
        const int miniShown = test::control(w, "img_mini_normal")->isVisible() +
                              test::control(w, "img_mini_highlight")->isVisible() +
                              test::control(w, "img_mini_down")->isVisible();
        EXPECT_EQ(closeShown, 1);
        EXPECT_EQ(miniShown, 1);
        // Let go of any button still held, away from the buttons.
        test::mouseRelease(test::control(w, "imgBG"), Qt::LeftButton, kOpenBackground);
    }
}

TEST(MinimiseButton, MinimisesWithNormalButtonsAndRestoringKeepsTheGeometry) {
    test::MainWindowFixture f;
    app::TMainFrm& w = f.show();
    w.setGeometry(300, 200, 900, 550);
    test::mouseMove(test::control(w, "img_mini_normal"));
    test::mouseClick(test::control(w, "img_mini_highlight"), Qt::LeftButton);
    EXPECT_TRUE(w.isMinimized());
    EXPECT_EQ(w.captionFaces(), CaptionFaces{});
    EXPECT_EQ(f.terminations, 0);

    // The file is applied at the first show only: the restored window is
    // where it was before it was minimised.
    w.showNormal();
    EXPECT_FALSE(w.isMinimized());
    EXPECT_EQ(w.geometry(), QRect(300, 200, 900, 550));
}

// A tiling compositor floats a window of a fixed size and cannot minimise:
// the window holds its size whenever it is shown, gives it up while the
// user drags an edge, and offers no minimise button.
TEST(TilingDesktop, TheWindowHoldsItsSizeWhenShownAndOffersNoMinimise) {
    test::MainWindowFixture f;
    app::TMainFrm& w = f.create();
    w.setWindowingTraits({true, true});
    f.show();
    EXPECT_EQ(w.minimumSize(), QSize(830, 500));
    EXPECT_EQ(w.maximumSize(), QSize(830, 500));
    for (const char* name : {"img_mini_normal", "img_mini_highlight", "img_mini_down"})
        EXPECT_FALSE(test::control(w, name)->isVisible()) << name;
    test::mouseMove(test::control(w, "img_close_normal"));
    EXPECT_TRUE(test::control(w, "img_close_highlight")->isVisible()) << "the close button works as ever";

    // The right edge: the window may grow again while it is being resized.
    const QPoint edge(w.width() - 2, 250), dragged = edge + QPoint(100, 0);
    QTest::mousePress(w.windowHandle(), Qt::LeftButton, {}, edge);
    EXPECT_EQ(w.minimumSize(), QSize(app::kMinimumWidth, app::kMinimumHeight));
    EXPECT_EQ(w.maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    QTest::mouseMove(w.windowHandle(), dragged);
    QTest::mouseRelease(w.windowHandle(), Qt::LeftButton, {}, dragged);
    const QSize resized = w.size();
    EXPECT_EQ(resized, QSize(930, 500));

    // Shown again (after a capture, say): held at the size it has.
    w.hide();
    w.show();
    EXPECT_EQ(w.minimumSize(), resized);
    EXPECT_EQ(w.maximumSize(), resized);
}

// Natively under Wayland the toolkit's idea of the position is only what was
// last asked for: the stored position is neither applied nor overwritten.
TEST(PositionUnknown, TheCloseButtonKeepsTheStoredPositionAndWritesTheSize) {
    test::MainWindowFixture f;
    writeFileBytes(f.folder / "Data/FormSize.ini", "4\r\n830\r\n500\r\n100\r\n120\r\n");
    app::TMainFrm& w = f.create();
    w.setWindowingTraits({false, false});
    f.show();
    EXPECT_NE(w.pos(), QPoint(100, 120)) << "no position is applied";
    w.move(225, 95);
    w.resize(900, 550);
    test::mouseMove(test::control(w, "img_close_normal"));
    test::mouseClick(test::control(w, "img_close_highlight"), Qt::LeftButton);
    EXPECT_EQ(f.terminations, 1);
    EXPECT_EQ(readFileBytes(f.folder / "Data/FormSize.ini"), "4\r\n900\r\n550\r\n100\r\n120\r\n");
}

TEST(WindowFrame, WithoutAWindowManagerTheWindowFollowsTheMouse) {
    test::MainWindowFixture f;
    app::TMainFrm& w = f.show();
    // Drag by the background: press, move by (40, 25), release.
    test::mousePress(test::control(w, "imgBG"), Qt::LeftButton, kOpenBackground);
    test::mouseMove(test::control(w, "imgBG"), kOpenBackground + QPoint(40, 25));
    // The window has moved under the pointer: the same screen point is back
    // at the window point where the drag began.
    test::mouseRelease(test::control(w, "imgBG"), Qt::LeftButton, kOpenBackground);
    EXPECT_EQ(w.pos(), QPoint(585, 300));

    // Resize by the bottom-right corner: press within the frame margin.
    const QPoint corner(w.width() - 2, w.height() - 2);
    test::mousePress(test::control(w, "imgBG"), Qt::LeftButton, corner);
    test::mouseMove(test::control(w, "imgBG"), corner + QPoint(70, 50));
    test::mouseRelease(test::control(w, "imgBG"), Qt::LeftButton, corner + QPoint(70, 50));
    EXPECT_EQ(w.geometry(), QRect(585, 300, 900, 550));
    EXPECT_EQ(test::control(w, "img_close_normal")->geometry().topLeft(), QPoint(782 + 900 - 822, 1));

    // It cannot be made smaller than its minimum.
    const QPoint newCorner(w.width() - 2, w.height() - 2);
    test::mousePress(test::control(w, "imgBG"), Qt::LeftButton, newCorner);
    test::mouseMove(test::control(w, "imgBG"), newCorner - QPoint(800, 500));
    test::mouseRelease(test::control(w, "imgBG"), Qt::LeftButton, newCorner - QPoint(800, 500));
    EXPECT_EQ(w.geometry(), QRect(585, 300, 700, 466));
}

TEST(WindowFrame, FollowsTheControlsItsWindowGainsLoansOutAndGetsBack) {
    QWidget window(nullptr, Qt::FramelessWindowHint);
    window.setGeometry(100, 100, 300, 200);
    new widgets::WindowFrame(&window);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    // A control made after the frame, covering the whole window, edges too;
    // it takes the presses, so none reaches the window itself.
    auto* later = new app::TImage(&window);
    later->setGeometry(window.rect());
    later->show();
    const auto dragCorner = [](QWidget* control, QPoint by) {
        const QPoint corner(control->width() - 2, control->height() - 2);
        test::mousePress(control, Qt::LeftButton, corner);
        test::mouseMove(control, corner + by);
        test::mouseRelease(control, Qt::LeftButton, corner + by);
    };
    dragCorner(later, {40, 30});
    EXPECT_EQ(window.size(), QSize(340, 230));

    // Lent to another window, its edges are that window's business.
    QWidget other;
    other.setGeometry(600, 100, 300, 200);
    other.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&other));
    later->setParent(&other);
    later->setGeometry(other.rect());
    later->show();
    dragCorner(later, {40, 30});
    EXPECT_EQ(window.size(), QSize(340, 230));

    // Back home, it resizes its window again.
    later->setParent(&window);
    later->setGeometry(window.rect());
    later->show();
    dragCorner(later, {-20, -10});
    EXPECT_EQ(window.size(), QSize(320, 220));
}

// Just after the window is shown, the toolkit's record of where it is on the
// screen can lag behind where the window manager put it, so the screen
// position of a press may seem to lie on the window's edge. A click on a
// control inside stays a click there instead of starting a resize.
TEST(WindowFrame, APressIsPlacedByItsPointInTheWindowNotByItsScreenPosition) {
    test::MainWindowFixture f;
    app::TMainFrm& w = f.show();
    auto* logo = w.findChild<widgets::TImage*>(QStringLiteral("imgLogo"));
    ASSERT_NE(logo, nullptr);
    QSignalSpy clicked(logo, &widgets::TImage::clicked);
    const QRect before = w.geometry();
    const QPoint local = logo->rect().center();
    const QPoint scene = logo->mapTo(&w, local);
    // Each edge in turn, as a screen position that a stale record would give.
    for (const QPoint stale : {QPoint(w.width() - 1, scene.y()), QPoint(0, scene.y()), QPoint(scene.x(), 0),
                               QPoint(scene.x(), w.height() - 1)}) {
        const QPointF global = w.mapToGlobal(QPointF(stale));
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(local), QPointF(scene), global, Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(logo, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(local), QPointF(scene), global, Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(logo, &release);
    }
    EXPECT_EQ(clicked.count(), 4);
    EXPECT_EQ(w.geometry(), before);
}
