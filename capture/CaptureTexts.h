#pragma once
#include "CaptureSelection.h"
#include "ScreenCopy.h"

#include <QString>

namespace tavlo {

// The capture window's hints, as the selection state leaves them.
struct CaptureHints {
    QString action;  // LblActionInfo
    QString cancel;  // LblCancelInfo
};

// The question before the capture: minimise the program first, capture with
// it on screen, or no capture at all.
struct CaptureQuestion {
    QString title;
    QString text;
    QString minimise, minimiseTip;
    QString inPlace, inPlaceTip;
    QString cancel, cancelTip;
};
CaptureQuestion captureQuestion();

// The hints for each SelState (None also when the window opens).
CaptureHints hintsForState(SelectionState selState);

// LblRGB's text for a pixel's channels.
QString pixelReadout(int red, int green, int blue);

// The size shown beside a selection: "W × H".
QString selectionSizeText(int width, int height);

// The message when the screen could not be copied: "截取屏幕失败！", the
// cause in the user's terms and, where a package would mend it, which to
// install. The error's own text is for the log only.
QString captureFailureText(const screencopy::ScreenCopyError& error);

}  // namespace tavlo
