#pragma once
#include "Monitor.h"

#include <optional>
#include <string>

namespace tavlo::wallpaper {

// The active outputs in a reply to sway's get_outputs: each one's current
// mode turned as its transform turns it (physical pixels), placed where its
// layout rectangle lies, scaled to physical pixels.
MonitorLayout parseSwayOutputs(const std::string& reply);

// The running compositor's outputs; nullopt when it cannot be asked.
std::optional<MonitorLayout> swayOutputs(const std::string& socketPath);

}  // namespace tavlo::wallpaper
