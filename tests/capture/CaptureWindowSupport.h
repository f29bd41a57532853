#pragma once
#include "Bitmap.h"
#include "CapturePictures.h"
#include "CopyScreenFrm.h"
#include "TempFolder.h"
#include "uGlobal.h"

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>

namespace tavlo::test {

// Closes every message box that opens while it lives, keeping its text.
class MessageBoxAnswers {
public:
    MessageBoxAnswers() {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                texts.push_back(box->text());
                box->accept();
            }
        });
        timer_.start();
    }
    std::vector<QString> texts;

private:
    QTimer timer_;
};

// Pixels of a written 24-bit picture that differ from `screen` at `origin` onwards.
inline int mismatchesWithScreen(const imaging::Bitmap& written, const QImage& screen, QPoint origin) {
    int mismatches = 0;
    for (int y = 0; y < written.height(); ++y)
        for (int x = 0; x < written.width(); ++x) {
            const std::uint8_t* bgr = written.row(y) + 3 * x;
            mismatches += qRgb(bgr[2], bgr[1], bgr[0]) != screen.pixel(origin.x() + x, origin.y() + y);
        }
    return mismatches;
}

// A capture window over the pattern screen, in a fresh program folder, with
// a plain window standing in for the main window.
class CaptureWindowFixture : public ::testing::Test {
protected:
    // Logical size of the test screen and its pixel ratio.
    static constexpr int kWidth = TAVLO_TEST_SCREEN_WIDTH, kHeight = TAVLO_TEST_SCREEN_HEIGHT;
    static constexpr qreal kRatio = TAVLO_TEST_SCREEN_DPR;
    static constexpr int kPhysicalWidth = static_cast<int>(kWidth * kRatio);
    static constexpr int kPhysicalHeight = static_cast<int>(kHeight * kRatio);

    // Opens the window; with `mainHidden` false the main window stays on
    // screen, as when the user said Cancel to the question.
    // With `pointerStill` the pointer has not moved over the window yet.
    void open(bool mainHidden = true, bool pointerStill = false) {
        if (mainHidden) {
            mainWindow.hide();
        } else {
            mainWindow.show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&mainWindow));
        }
        form = std::make_unique<TCopyScreenForm>(&mainWindow);
        form->setScreenPicture(patternScreen(kPhysicalWidth, kPhysicalHeight), kRatio);
        form->setHandOver(state, [this](const std::filesystem::path& path, imaging::Bitmap picture) {
            shown.push_back(path);
            handed.push_back(std::move(picture));
        });
        form->move(0, 0);
        form->showFullScreen();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        if (pointerStill) return;
        // Qt drops a move to where the pointer already is: start from a known place.
        move({kWidth / 2, kHeight / 2});
        move({kWidth / 2 + 1, kHeight / 2});
    }

    QWindow* window() const { return form->windowHandle(); }
    // A control of the capture window by its name; throws when there is none.
    template <class Control>
    Control* control(const char* name) const {
        auto* found = form->findChild<Control*>(QString::fromLatin1(name));
        if (!found) throw std::runtime_error(std::string("no control ") + name);
        return found;
    }
    void press(QPoint at, Qt::MouseButton button = Qt::LeftButton) { QTest::mousePress(window(), button, {}, at); }
    void release(QPoint at, Qt::MouseButton button = Qt::LeftButton) { QTest::mouseRelease(window(), button, {}, at); }
    void move(QPoint at) { QTest::mouseMove(window(), at); }
    void drag(QPoint from, QPoint to) {
        press(from);
        move((from + to) / 2);
        move(to);
        release(to);
    }
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) { QTest::keyClick(form.get(), key, modifiers); }

    std::filesystem::path tmpBmp() const { return folder.path() / "tmp" / "tmp.bmp"; }

    TempFolder folder;
    GlobalState state{ProgramFolder(folder.path())};
    QWidget mainWindow;
    std::unique_ptr<TCopyScreenForm> form;
    std::vector<std::filesystem::path> shown;
    std::vector<imaging::Bitmap> handed;  // the pictures handed over with them
};

}  // namespace tavlo::test
