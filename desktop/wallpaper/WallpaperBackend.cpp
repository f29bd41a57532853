#include "WallpaperBackend.h"

namespace tavlo::wallpaper {

// A desktop of one picture for all shows the primary monitor's.
void WallpaperBackend::SetMonitorWallpapers(const std::vector<MonitorPicture>& pictures) {
    if (pictures.empty()) return;
    MonitorLayout monitors;
    for (const MonitorPicture& picture : pictures) monitors.push_back(picture.monitor);
    const Monitor& primary = primaryMonitor(monitors);
    for (const MonitorPicture& picture : pictures)
        if (picture.monitor == primary) return SetWallpaper(picture.picture);
}

}  // namespace tavlo::wallpaper
