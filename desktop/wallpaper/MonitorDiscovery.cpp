#include "MonitorDiscovery.h"
#include "SwayOutputs.h"
#include "X11Monitors.h"

#include <cstdlib>

namespace tavlo::wallpaper {

MonitorLayout sessionMonitors() {
    if (const char* socket = std::getenv("SWAYSOCK"); socket && *socket)
        if (auto outputs = swayOutputs(socket); outputs && !outputs->empty()) return *outputs;
    if (const char* display = std::getenv("DISPLAY"); display && *display)
        if (auto monitors = randrMonitors(display)) return *monitors;
    return {};
}

}  // namespace tavlo::wallpaper
