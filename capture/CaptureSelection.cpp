#include "CaptureSelection.h"

#include "SelectionFrame.h"

#include <utility>

namespace tavlo {

QRect CaptureSelection::normalised() const {
    return normalisedSelection(x1_, y1_, x2_, y2_);
}

void CaptureSelection::drawFrame() {
    const QRect rect = normalised();
    invertOutline(picture_, rect, frameWidth_);
    dirty_ += outlineRegion(rect, frameWidth_);
    bandDrawn_ = true;
}

// Only a frame that is there is erased: inverting a frame that is not drawn
// would draw one.
void CaptureSelection::eraseFrame() {
    if (!bandDrawn_) return;
    const QRect rect = normalised();
    invertOutline(picture_, rect, frameWidth_);
    dirty_ += outlineRegion(rect, frameWidth_);
    bandDrawn_ = false;
}

CaptureCursor CaptureSelection::mouseMove(int X, int Y) {
    CaptureCursor cursor = CaptureCursor::Arrow;
    if (selState_ == SelectionState::Made && x1_ < X && X < x2_ && y1_ < Y && Y < y2_) {
        cursor = CaptureCursor::Move;
        if (mouseHeld_) {
            moveBy(X - dragX_, Y - dragY_);
            dragX_ = X;
            dragY_ = Y;
        }
    }
    if (selState_ == SelectionState::Dragging && mouseHeld_) {
        eraseFrame();
        x2_ = X;
        y2_ = Y;
        drawFrame();
    }
    return cursor;
}

void CaptureSelection::moveBy(int dx, int dy) {
    if (selState_ != SelectionState::Made) return;
    const bool wasDrawn = bandDrawn_;
    eraseFrame();
    if (x1_ + dx >= 1 && x2_ + dx <= picture_.width()) {
        x1_ += dx;
        x2_ += dx;
    }
    if (y1_ + dy >= 1 && y2_ + dy <= picture_.height()) {
        y1_ += dy;
        y2_ += dy;
    }
    if (wasDrawn) drawFrame();
}

void CaptureSelection::mouseDown(int X, int Y, CaptureCursor cursor) {
    if (selState_ == SelectionState::Made && cursor == CaptureCursor::Move) {
        mouseHeld_ = true;
        dragX_ = X;
        dragY_ = Y;
    }
    if (selState_ != SelectionState::None) return;
    eraseFrame();
    mouseHeld_ = true;
    bandDrawn_ = false;
    selState_ = SelectionState::Dragging;
    x1_ = x2_ = X;
    y1_ = y2_ = Y;
}

void CaptureSelection::mouseUp() {
    mouseHeld_ = false;
    if (selState_ == SelectionState::Dragging) selState_ = SelectionState::Made;
}

bool CaptureSelection::cancel() {
    if (selState_ == SelectionState::None) return true;
    eraseFrame();
    selState_ = SelectionState::None;
    return false;
}

void CaptureSelection::escape() {
    eraseFrame();
}

std::optional<QImage> CaptureSelection::cutSelection() {
    if (selState_ != SelectionState::Made || x1_ == x2_ || y1_ == y2_) return std::nullopt;
    if (x2_ < x1_) std::swap(x1_, x2_);
    if (y2_ < y1_) std::swap(y1_, y2_);
    // The frame is not part of the copy; it comes back if the copy cannot
    // be written.
    frameHeldBack_ = bandDrawn_;
    eraseFrame();
    QImage cut = picture_.copy(x1_, y1_, x2_ - x1_, y2_ - y1_);
    cut.setDevicePixelRatio(1);
    return cut;
}

void CaptureSelection::sent() {
    selState_ = SelectionState::None;
    bandDrawn_ = false;
    frameHeldBack_ = false;
}

void CaptureSelection::sendFailed() {
    if (frameHeldBack_) drawFrame();
    frameHeldBack_ = false;
}

QRegion CaptureSelection::takeDirty() {
    return std::exchange(dirty_, QRegion());
}

}  // namespace tavlo
