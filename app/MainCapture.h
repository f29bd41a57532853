#pragma once
#include "ScreenCopy.h"
#include "WindowPlacement.h"

#include <QPointer>
#include <QWidget>

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

namespace tavlo::app {

// What the main window keeps for the screen capture.
struct CaptureParts {
    // Where the screen's pixels come from; the session's own until set.
    std::unique_ptr<screencopy::ScreenCopy> screenCopy;
    // The question before the capture; a message box until set.
    std::function<bool(QWidget*)> askMinimise;
    // The fixed waits: before posting WM_COPYSCREEN (after hiding) and before
    // copying the screen. The program's windows are repainted and unmapped
    // during them, so that the copy shows none of their leftovers.
    std::chrono::milliseconds beforePost{10};
    std::chrono::milliseconds beforeCopy{50};
    // The program's other windows hidden for the capture, shown again after.
    std::vector<QPointer<QWidget>> steppedAside;
    // Puts the main window back where it was when it is shown again; the
    // session's own until set.
    std::unique_ptr<WindowPlacement> placement;
};

}  // namespace tavlo::app
