#pragma once
#include "ScreenCopy.h"

#include <QWidget>

#include <chrono>
#include <functional>
#include <memory>

namespace tavlo::app {

// What the main window keeps for the screen capture.
struct CaptureParts {
    // Where the screen's pixels come from; the session's own until set.
    std::unique_ptr<screencopy::ScreenCopy> screenCopy;
    // The question before the capture; a message box until set.
    std::function<bool(QWidget*)> askMinimise;
    // The fixed waits: before posting WM_COPYSCREEN (after hiding) and before
    // copying the screen.
    std::chrono::milliseconds beforePost{10};
    std::chrono::milliseconds beforeCopy{50};
};

}  // namespace tavlo::app
