#pragma once
#include <functional>
#include <map>
#include <optional>
#include <string>

namespace tavlo::wallpaper {

enum class BackendKind {
    Gnome,
    Cinnamon,
    Mate,
    Ukui,
    Kde,
    Xfce,
    Lxqt,
    Lxde,
    Deepin,
    Sway,
    Swaybg,   // a wlroots compositor without an IPC of its own: a background client
    Portal,   // the desktop portal's Wallpaper interface
    X11Root,  // painting the X11 root window
    Windows,
    None,
};

// "gnome", "cinnamon", "mate", "ukui", "kde", "xfce", "lxqt", "lxde",
// "deepin", "sway", "swaybg", "portal", "x11", "windows", "none".
std::string backendName(BackendKind kind);

// The environment variables that tell which desktop runs the session, by name;
// a variable that is not set is absent.
using SessionEnvironment = std::map<std::string, std::string>;

// The variables above as the running process sees them.
SessionEnvironment currentSessionEnvironment();

struct BackendChoice {
    BackendKind kind = BackendKind::None;
    std::string reason;  // one Chinese line: what decided, and what it says
};

// The backend for a Unix desktop session, from its environment alone. A named
// desktop wins over the display server; a Wayland session of no known desktop
// gets the portal (to be confirmed by refineChoice); painting the X11 root
// window is the last resort, for X11 sessions of no known desktop.
BackendChoice chooseDesktopBackend(const SessionEnvironment& environment);

// A window of type _NET_WM_WINDOW_TYPE_DESKTOP mapped over the X11 root: a
// desktop program drawing its own background there.
struct DesktopWindow {
    std::string program;  // WM_CLASS instance name, e.g. "pcmanfm-qt"
};

// What the running session offers, asked only where the environment could
// not decide.
struct SessionProbes {
    std::function<std::optional<DesktopWindow>()> desktopWindow;  // X11 sessions
    std::function<bool()> portalOffersWallpaper;
    std::function<bool(const std::string&)> programInstalled;
};

// The choice checked against the running session: an X11 root with a desktop
// window over it goes to that desktop's own mechanism (or to none); LXQt and
// LXDE without their desktop program paint the root; the portal of a session
// that offers none gives way to a background client.
BackendChoice refineChoice(BackendChoice choice, const SessionEnvironment& environment, const SessionProbes& probes);

}  // namespace tavlo::wallpaper
