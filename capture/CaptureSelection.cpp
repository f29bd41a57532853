#include "CaptureSelection.h"

#include "SelectionFrame.h"

#include <utility>

namespace tavlo {

QRect CaptureSelection::normalised() const {
    return normalisedSelection(x1, y1, x2, y2);
}

void CaptureSelection::drawFrame() {
    const QRect rect = normalised();
    invertOutline(picture_, rect, frameWidth_);
    dirty_ += outlineRegion(rect, frameWidth_);
    BandDrawn = true;
}

// Only a frame that is there is erased: inverting a frame that is not drawn
// would draw one.
void CaptureSelection::eraseFrame() {
    if (!BandDrawn) return;
    const QRect rect = normalised();
    invertOutline(picture_, rect, frameWidth_);
    dirty_ += outlineRegion(rect, frameWidth_);
    BandDrawn = false;
}

CaptureCursor CaptureSelection::mouseMove(int X, int Y) {
    CaptureCursor cursor = CaptureCursor::Arrow;
    if (SelState == 2 && x1 < X && X < x2 && y1 < Y && Y < y2) {
        cursor = CaptureCursor::Move;
        if (MouseHeld) {
            moveBy(X - dragX, Y - dragY);
            dragX = X;
            dragY = Y;
        }
    }
    if (SelState == 1 && MouseHeld) {
        eraseFrame();
        x2 = X;
        y2 = Y;
        drawFrame();
    }
    return cursor;
}

void CaptureSelection::moveBy(int dx, int dy) {
    if (SelState != 2) return;
    const bool wasDrawn = BandDrawn;
    eraseFrame();
    if (x1 + dx >= 1 && x2 + dx <= picture_.width()) {
        x1 += dx;
        x2 += dx;
    }
    if (y1 + dy >= 1 && y2 + dy <= picture_.height()) {
        y1 += dy;
        y2 += dy;
    }
    if (wasDrawn) drawFrame();
}

void CaptureSelection::mouseDown(int X, int Y, CaptureCursor cursor) {
    if (SelState == 2 && cursor == CaptureCursor::Move) {
        MouseHeld = true;
        dragX = X;
        dragY = Y;
    }
    if (SelState != 0) return;
    eraseFrame();
    MouseHeld = true;
    BandDrawn = false;
    SelState = 1;
    x1 = x2 = X;
    y1 = y2 = Y;
}

void CaptureSelection::mouseUp() {
    MouseHeld = false;
    if (SelState == 1) SelState = 2;
}

bool CaptureSelection::cancel() {
    if (SelState == 0) return true;
    eraseFrame();
    SelState = 0;
    return false;
}

void CaptureSelection::escape() {
    eraseFrame();
}

std::optional<QImage> CaptureSelection::cutSelection() {
    if (SelState != 2 || x1 == x2 || y1 == y2) return std::nullopt;
    if (x2 < x1) std::swap(x1, x2);
    if (y2 < y1) std::swap(y1, y2);
    // The frame is not part of the copy; it comes back if the copy cannot
    // be written.
    frameHeldBack_ = BandDrawn;
    eraseFrame();
    QImage cut = picture_.copy(x1, y1, x2 - x1, y2 - y1);
    cut.setDevicePixelRatio(1);
    return cut;
}

void CaptureSelection::sent() {
    SelState = 0;
    BandDrawn = false;
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
