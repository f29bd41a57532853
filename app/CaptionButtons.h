#pragma once
#include "Widgets.h"

namespace tavlo::app {

// Which of a caption button's three pictures is showing.
enum class ButtonFace { Normal, Highlight, Down };

// The faces of the close and minimise buttons; exactly one picture of each
// button is visible at any time.
struct CaptionFaces {
    ButtonFace close = ButtonFace::Normal;
    ButtonFace mini = ButtonFace::Normal;
    friend bool operator==(const CaptionFaces&, const CaptionFaces&) = default;
};

// What the user did to the caption buttons or the background picture.
enum class CaptionEvent {
    MoveOverCloseNormal,
    PressOnCloseHighlight,
    MoveOverMiniNormal,
    PressOnMiniHighlight,
    MiniClicked,
    MoveOverBackground,
};

// The faces after an event. Events not named here (moving over a highlighted
// or pressed picture) change nothing, so they have no entry.
CaptionFaces facesAfter(CaptionFaces faces, CaptionEvent event);

// The three pictures of one caption button.
struct CaptionButton {
    TImage* normal = nullptr;
    TImage* highlight = nullptr;
    TImage* down = nullptr;
    // A button the desktop cannot honour (minimise under a tiling
    // compositor) is not offered: none of its pictures shows.
    bool offered = true;

    void show(ButtonFace face) const;
    // The face whose picture is visible (Normal if none is).
    ButtonFace visibleFace() const;
};

}  // namespace tavlo::app
