#pragma once
#include "Monitor.h"

namespace tavlo::app {

// The monitors the program makes the wallpaper for: the session's (sway's
// outputs, the X server's RandR monitors), else the screens Qt knows where
// it knows the compositor's own (not through XWayland), each in physical
// pixels; none where nothing knows them.
wallpaper::MonitorLayout programMonitors();

// Qt's screens alone.
wallpaper::MonitorLayout qtScreens();

}  // namespace tavlo::app
