#pragma once
#include "Monitor.h"

namespace tavlo::wallpaper {

// The monitors of the running session: sway's outputs where its IPC
// answers, else the X server's RandR monitors (XWayland lists a Wayland
// desktop's outputs too). Empty when neither can be asked: the wallpaper
// is then made for one screen of unknown size.
MonitorLayout sessionMonitors();

}  // namespace tavlo::wallpaper
