#pragma once

class QWidget;

namespace tavlo {

// Puts a window back where it was after it was hidden and shown again. A
// compositor places every window it maps anew (sway centres a floating one),
// and a Wayland client cannot place itself: only the compositor can be asked.
class WindowPlacement {
public:
    virtual ~WindowPlacement() = default;

    // Notes where `window` is now, before it is hidden.
    virtual void remember(const QWidget& window) = 0;
    // Puts it back there once the compositor shows it again.
    virtual void restore(const QWidget& window) = 0;
};

}  // namespace tavlo
