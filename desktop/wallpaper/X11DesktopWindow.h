#pragma once
#include "DesktopDetection.h"

#include <optional>
#include <string>

// Xlib's connection type, declared here so that Xlib's macros (None among
// them) stay out of the files that include this one.
struct _XDisplay;

namespace tavlo::wallpaper {

// The first viewable window of type _NET_WM_WINDOW_TYPE_DESKTOP among the
// root's children (or their children, where a window manager framed it): a
// desktop program's window, which hides whatever the root window shows.
std::optional<DesktopWindow> findDesktopWindow(_XDisplay* display);

// The same on a connection of its own to `displayName` (empty: DISPLAY);
// nullopt also when the display cannot be opened.
std::optional<DesktopWindow> findDesktopWindow(const std::string& displayName);

}  // namespace tavlo::wallpaper
