#pragma once
#include "Monitor.h"

#include <optional>
#include <string>

struct _XDisplay;

namespace tavlo::wallpaper {

// The RandR monitors of the display's default screen (physical pixels),
// or nullopt when the server has no RandR 1.5.
std::optional<MonitorLayout> randrMonitors(_XDisplay* display);

// The same on a connection of its own to `displayName` (empty: DISPLAY);
// nullopt also when the display cannot be opened.
std::optional<MonitorLayout> randrMonitors(const std::string& displayName);

}  // namespace tavlo::wallpaper
