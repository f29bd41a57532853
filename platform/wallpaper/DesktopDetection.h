#pragma once
#include <map>
#include <string>

namespace tavlo::wallpaper {

enum class BackendKind { Gnome, Cinnamon, Mate, Kde, Xfce, Sway, X11Root, Windows, None };

// "gnome", "cinnamon", "mate", "kde", "xfce", "sway", "x11", "windows", "none".
std::string backendName(BackendKind kind);

// The environment variables that tell which desktop runs the session, by name;
// a variable that is not set is absent.
using SessionEnvironment = std::map<std::string, std::string>;

// The variables above as the running process sees them.
SessionEnvironment currentSessionEnvironment();

struct BackendChoice {
    BackendKind kind = BackendKind::None;
    std::string reason;  // one line: which variable decided and what it says
};

// The backend for a Unix desktop session. A named desktop wins over the
// display server; painting the X11 root window is the last resort, used only
// when no desktop is recognised and the session is not a Wayland one.
BackendChoice chooseDesktopBackend(const SessionEnvironment& environment);

}  // namespace tavlo::wallpaper
