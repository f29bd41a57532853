#pragma once
#include <QImage>
#include <QRect>
#include <QRegion>

#include <optional>

namespace tavlo {

// The picture's cursor, which the mouse handlers set and read back.
enum class CaptureCursor { Cross, Arrow, Move };

// SelState: nothing selected, a selection being dragged out, a selection made.
enum class SelectionState { None, Dragging, Made };

// The selection of the capture window: its state, corners and frame, in the
// screen picture's own (physical) pixels. The frame is drawn into the picture
// itself by inversion; `dirty` collects the picture areas that changed.
class CaptureSelection {
public:
    explicit CaptureSelection(QImage& picture) : picture_(picture) {}

    SelectionState SelState() const { return selState_; }
    // A mouse button is held down on the picture.
    bool MouseHeld() const { return mouseHeld_; }
    // The frame is drawn into the picture now.
    bool BandDrawn() const { return bandDrawn_; }
    // (x1, y1), where the selection was started, and (x2, y2), the opposite
    // corner: in either order until the selection is cut.
    QPoint startCorner() const { return {x1_, y1_}; }
    QPoint endCorner() const { return {x2_, y2_}; }

    // Mouse move, after the panel dodge: drags the selection or its corner;
    // gives the cursor the picture shows now.
    CaptureCursor mouseMove(int X, int Y);
    // A press other than the right button (the right one cancels, see cancel).
    void mouseDown(int X, int Y, CaptureCursor cursor);
    void mouseUp();
    // CancelSelection: true when the window is to close (nothing selected).
    bool cancel();
    // Esc: erases a drawn frame; the window then closes.
    void escape();
    // Moves a made selection, each axis only within the picture (left and top
    // edges at 1 or more, right and bottom edges at most the picture's size).
    void moveBy(int dx, int dy);

    // SendSelection's steps 1 to 4: orders the corners, erases the frame and
    // gives the selected pixels. Nothing happens for a selection of zero width
    // or height, or outside state 2: nullopt.
    std::optional<QImage> cutSelection();
    // After the picture was written: state 0, no frame.
    void sent();
    // The picture could not be written: the frame comes back as it was.
    void sendFailed();

    // The selection's size, whichever way it was dragged.
    QSize size() const { return normalised().size(); }
    QRect normalised() const;

    // Picture areas changed since the last call.
    QRegion takeDirty();

    // How many picture pixels thick the frame is: more than one where the
    // picture is shown shrunk, so that the frame still shows.
    void setFrameWidth(int width) { frameWidth_ = width; }

private:
    void drawFrame();
    void eraseFrame();

    QImage& picture_;
    SelectionState selState_ = SelectionState::None;
    int x1_ = -1, y1_ = -1, x2_ = -1, y2_ = -1;
    bool mouseHeld_ = false;
    bool bandDrawn_ = false;
    // The last pointer position while a made selection is dragged.
    int dragX_ = 0, dragY_ = 0;
    QRegion dirty_;
    bool frameHeldBack_ = false;
    int frameWidth_ = 1;
};

}  // namespace tavlo
