#pragma once
#include "WallpaperBackend.h"

#include <QStringList>

namespace tavlo::wallpaper {

// XFCE: sets, through the xfconf daemon's D-Bus interface (org.xfce.Xfconf),
// every /backdrop/screen*/monitor*/workspace*/last-image of the channel
// "xfce4-desktop" to the picture and the image-style beside it to stretched.
class XfceWallpaper : public WallpaperBackend {
public:
    std::string name() const override { return "xfce"; }
    void SetWallpaper(const std::filesystem::path& path) override;
    // Each monitor's own properties (monitor<output name>), on every
    // workspace; a monitor the desktop has stored nothing for yet gets its
    // first workspace's.
    bool perMonitor() const override { return true; }
    void SetMonitorWallpapers(const std::vector<MonitorPicture>& pictures) override;

    // The last-image properties among the channel's property names, sorted.
    static QStringList imageProperties(const QStringList& propertyNames);
    // Those of them that belong to the monitor named `output`.
    static QStringList monitorImageProperties(const QStringList& imageProperties, const std::string& output);
};

}  // namespace tavlo::wallpaper
