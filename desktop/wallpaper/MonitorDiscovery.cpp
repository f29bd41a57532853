#include "MonitorDiscovery.h"
#include "SwayOutputs.h"
#include "X11Monitors.h"

#include <cstdlib>

namespace tavlo::wallpaper {

MonitorLayout sessionMonitors() {
    if (const char* socket = std::getenv("SWAYSOCK"); socket && *socket)
        if (auto outputs = swayOutputs(socket); outputs && !outputs->empty()) return *outputs;
    // XWayland names its outputs after itself, not as the compositor does:
    // a wallpaper set per output under those names would reach none.
    if (const char* wayland = std::getenv("WAYLAND_DISPLAY"); wayland && *wayland) return {};
    if (const char* display = std::getenv("DISPLAY"); display && *display)
        if (auto monitors = randrMonitors(display)) return *monitors;
    return {};
}

}  // namespace tavlo::wallpaper
