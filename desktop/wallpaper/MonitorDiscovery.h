#pragma once
#include "Monitor.h"

namespace tavlo::wallpaper {

// The monitors of the running session: sway's outputs where its IPC
// answers, else, outside Wayland sessions, the X server's RandR monitors.
// Empty when neither can be asked (another Wayland compositor, whose
// outputs only a Wayland client of its own sees): the wallpaper is then
// made for one screen of unknown size.
MonitorLayout sessionMonitors();

}  // namespace tavlo::wallpaper
