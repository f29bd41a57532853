#pragma once
#include <functional>
#include <string_view>

namespace tavlo::app {

// What the running desktop does with the program's windows, as far as the
// main window's chrome must know.
struct WindowingTraits {
    // A tiling compositor or window manager: it tiles a new window unless the
    // window's hints ask for it to float (a fixed size, a dialog's type), and
    // it has no way to minimise a window and bring it back.
    bool tiling = false;
    // The toolkit knows where the window is and may place it. Under a native
    // Wayland connection a client neither learns nor chooses its position.
    bool positionKnown = true;
};

// The traits for the toolkit's platform ("xcb", "wayland", ...) and the
// session's environment (`environment` gives a variable's value, or null).
WindowingTraits windowingTraits(std::string_view platformName,
                                const std::function<const char*(const char*)>& environment);

// The traits of the running session.
WindowingTraits sessionWindowingTraits();

}  // namespace tavlo::app
