#pragma once
#include "WallpaperBackend.h"

namespace tavlo::wallpaper {

// Deepin and UOS: the appearance service's SetMonitorBackground(monitor, uri)
// for every enabled monitor that the display service lists. Newer releases
// name both services org.deepin.dde.*1, older ones com.deepin.daemon.*; the
// newer names are tried first.
class DeepinWallpaper : public WallpaperBackend {
public:
    std::string name() const override { return "deepin"; }
    void SetWallpaper(const std::filesystem::path& path) override;
    // Each picture on the monitor of its name; a monitor the display service
    // no longer lists is named in the failure.
    bool perMonitor() const override { return true; }
    void SetMonitorWallpapers(const std::vector<MonitorPicture>& pictures) override;
};

}  // namespace tavlo::wallpaper
