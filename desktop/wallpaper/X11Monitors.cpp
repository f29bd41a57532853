#include "X11Monitors.h"
#include "X11Connection.h"

#include <X11/extensions/Xrandr.h>

namespace tavlo::wallpaper {

std::optional<MonitorLayout> randrMonitors(Display* display) {
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    if (!XRRQueryExtension(display, &eventBase, &errorBase) || !XRRQueryVersion(display, &major, &minor) ||
        (major == 1 && minor < 5))
        return std::nullopt;
    int count = 0;
    XRRMonitorInfo* info = XRRGetMonitors(display, DefaultRootWindow(display), True, &count);
    if (!info) return std::nullopt;
    MonitorLayout monitors;
    for (int i = 0; i < count; ++i) {
        Monitor monitor;
        if (char* name = XGetAtomName(display, info[i].name)) {
            monitor.name = name;
            XFree(name);
        }
        monitor.x = info[i].x;
        monitor.y = info[i].y;
        monitor.width = info[i].width;
        monitor.height = info[i].height;
        monitor.primary = info[i].primary != 0;
        if (monitor.width > 0 && monitor.height > 0) monitors.push_back(monitor);
    }
    XRRFreeMonitors(info);
    return monitors;
}

std::optional<MonitorLayout> randrMonitors(const std::string& displayName) {
    const x11::DisplayPtr display(XOpenDisplay(displayName.empty() ? nullptr : displayName.c_str()));
    if (!display) return std::nullopt;
    return randrMonitors(display.get());
}

}  // namespace tavlo::wallpaper
