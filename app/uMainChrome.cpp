// The main window's own chrome: dragging, the caption buttons and the
// remembered geometry.
#include "FormGeometry.h"
#include "NotesController.h"
#include "Widgets.h"
#include "uMain.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>

namespace tavlo::app {

void TMainFrm::imgBGMouseDown(QMouseEvent* event) {
    frame_->startMove(event->globalPosition());
}

void TMainFrm::imgBGMouseMove() {
    handleCaptionEvent(CaptionEvent::MoveOverBackground);
}

void TMainFrm::img_close_normalMouseMove() {
    handleCaptionEvent(CaptionEvent::MoveOverCloseNormal);
}

// The pressed picture takes the place of the highlighted one under the
// pointer, and with it the mouse: the release that completes the click (or,
// outside the button, cancels it) comes to the pressed picture.
void TMainFrm::img_close_highlightMouseDown() {
    handleCaptionEvent(CaptionEvent::PressOnCloseHighlight);
    img_close_down->grabMouse();
}

void TMainFrm::img_mini_normalMouseMove() {
    handleCaptionEvent(CaptionEvent::MoveOverMiniNormal);
}

void TMainFrm::img_mini_highlightMouseDown() {
    handleCaptionEvent(CaptionEvent::PressOnMiniHighlight);
    img_mini_down->grabMouse();
}

void TMainFrm::img_close_highlightClick() {
    SavedWidth = width();
    SavedHeight = height();
    // Where the platform cannot tell the window's position, the toolkit's
    // idea of it is only what was last asked for: the file keeps its own.
    SavedLeft = windowing_.positionKnown ? x() : storedLeft_;
    SavedTop = windowing_.positionKnown ? y() : storedTop_;
    // A geometry file that cannot be written (a read-only program folder) is
    // reported, and the program ends all the same: the close button must close.
    try {
        SaveFormSize();
    } catch (const std::exception& e) {
        showFailure(this, e);
    }
    terminate_();
}

void TMainFrm::img_mini_highlightClick() {
    // Iconified rather than hidden: on X11 a hidden window loses its taskbar
    // entry, an iconified one keeps it and comes back from there.
    showMinimized();
    handleCaptionEvent(CaptionEvent::MiniClicked);
}

// A click on the highlighted picture is completed by the release over the
// pressed picture that covers it.
void TMainFrm::captionDownReleased(QMouseEvent* event, bool isClose) {
    const CaptionButton& button = isClose ? closeButton_ : miniButton_;
    if (QWidget::mouseGrabber() == button.down && event->buttons() == Qt::NoButton) button.down->releaseMouse();
    if (event->button() != Qt::LeftButton || button.visibleFace() != ButtonFace::Down) return;
    if (!button.down->rect().contains(event->position().toPoint())) return;
    if (isClose) {
        img_close_highlightClick();
    } else {
        img_mini_highlightClick();
    }
}

void TMainFrm::handleCaptionEvent(CaptionEvent event) {
    showCaptionFaces(facesAfter(captionFaces(), event));
}

void TMainFrm::showCaptionFaces(CaptionFaces faces) {
    closeButton_.show(faces.close);
    miniButton_.show(faces.mini);
}

CaptionFaces TMainFrm::captionFaces() const {
    return {closeButton_.visibleFace(), miniButton_.visibleFace()};
}

void TMainFrm::LoadFormSize() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize size = screen->geometry().size();
    const LoadedGeometry loaded = readFormSize(state_.folder, size.width(), size.height());
    const QRect available = screen->availableGeometry();
    const FormGeometry placed =
        fitToScreen(loaded.geometry, {available.x(), available.y(), available.width(), available.height()});
    SavedWidth = placed.width;
    SavedHeight = placed.height;
    SavedLeft = placed.left;
    SavedTop = placed.top;
    notes_->setNotePage(placed.NotePage);
    storedLeft_ = loaded.geometry.left;
    storedTop_ = loaded.geometry.top;
    resize(SavedWidth, SavedHeight);
    // The compositor places the window where the toolkit cannot.
    if (windowing_.positionKnown) move(SavedLeft, SavedTop);
    // A first run keeps the first-run values, written once the window stands.
    if (loaded.firstRun) saveFormSize(state_.folder, loaded.geometry);
}

void TMainFrm::setWindowingTraits(WindowingTraits traits) {
    windowing_ = traits;
    miniButton_.offered = !traits.tiling;
    miniButton_.show(miniButton_.visibleFace());
}

void TMainFrm::SaveFormSize() {
    saveFormSize(state_.folder, {notes_->notePage(), SavedWidth, SavedHeight, SavedLeft, SavedTop});
}

}  // namespace tavlo::app
