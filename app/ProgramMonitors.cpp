#include "ProgramMonitors.h"
#include "MonitorDiscovery.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace tavlo::app {

wallpaper::MonitorLayout qtScreens() {
    wallpaper::MonitorLayout monitors;
    const QScreen* primary = QGuiApplication::primaryScreen();
    for (const QScreen* screen : QGuiApplication::screens()) {
        const double ratio = screen->devicePixelRatio();
        const QRect geometry = screen->geometry();
        wallpaper::Monitor monitor;
        monitor.name = screen->name().toStdString();
        monitor.x = static_cast<int>(std::lround(geometry.x() * ratio));
        monitor.y = static_cast<int>(std::lround(geometry.y() * ratio));
        monitor.width = static_cast<int>(std::lround(geometry.width() * ratio));
        monitor.height = static_cast<int>(std::lround(geometry.height() * ratio));
        monitor.primary = screen == primary;
        if (monitor.width > 0 && monitor.height > 0) monitors.push_back(monitor);
    }
    return monitors;
}

wallpaper::MonitorLayout programMonitors() {
    wallpaper::MonitorLayout monitors = wallpaper::sessionMonitors();
    if (!monitors.empty()) return monitors;
    // Qt speaks for a Wayland compositor only as its own client; through
    // XWayland it sees XWayland's outputs.
    const bool wayland = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (wayland && QGuiApplication::platformName() != QLatin1String("wayland")) return {};
    return qtScreens();
}

}  // namespace tavlo::app
