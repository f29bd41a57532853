#include "CaptionButtons.h"

namespace tavlo::app {

CaptionFaces facesAfter(CaptionFaces faces, CaptionEvent event) {
    switch (event) {
    case CaptionEvent::MoveOverCloseNormal: return {ButtonFace::Highlight, ButtonFace::Normal};
    case CaptionEvent::PressOnCloseHighlight: return {ButtonFace::Down, ButtonFace::Normal};
    case CaptionEvent::MoveOverMiniNormal: return {ButtonFace::Normal, ButtonFace::Highlight};
    case CaptionEvent::PressOnMiniHighlight: return {ButtonFace::Normal, ButtonFace::Down};
    case CaptionEvent::MiniClicked:
    case CaptionEvent::MoveOverBackground: return {ButtonFace::Normal, ButtonFace::Normal};
    }
    return faces;
}

void CaptionButton::show(ButtonFace face) const {
    // Show the new picture before hiding the old one, so that the pointer
    // never falls through to the background in between.
    TImage* pictures[] = {normal, highlight, down};
    TImage* shown = offered ? pictures[static_cast<int>(face)] : nullptr;
    if (shown) shown->setVisible(true);
    for (TImage* picture : pictures) {
        if (picture == shown) continue;
        // The keyboard's focus stays on the button, whichever face it shows.
        if (picture->hasFocus()) shown->setFocus(Qt::OtherFocusReason);
        picture->setVisible(false);
    }
}

ButtonFace CaptionButton::visibleFace() const {
    if (down->isVisibleTo(down->parentWidget())) return ButtonFace::Down;
    if (highlight->isVisibleTo(highlight->parentWidget())) return ButtonFace::Highlight;
    return ButtonFace::Normal;
}

}  // namespace tavlo::app
