#pragma once
#include "WallpaperBackend.h"

#include <QString>

namespace tavlo::wallpaper {

// KDE Plasma 5 and 6: runs a desktop script through the Plasma shell's D-Bus
// interface (org.kde.plasmashell /PlasmaShell evaluateScript) that gives every
// desktop the image wallpaper with the picture and the stretch fill mode.
class PlasmaWallpaper : public WallpaperBackend {
public:
    std::string name() const override { return "kde"; }
    void SetWallpaper(const std::filesystem::path& path) override;
    // Each desktop the picture of the monitor at its screen's top-left
    // corner; a screen no monitor matches gets the first picture.
    bool perMonitor() const override { return true; }
    void SetMonitorWallpapers(const std::vector<MonitorPicture>& pictures) override;

    // The script that sets `imageUrl` ("file:///...").
    static QString script(const QString& imageUrl);
    // The script that sets each monitor's picture on the desktop of its screen.
    static QString monitorScript(const std::vector<MonitorPicture>& pictures);
};

}  // namespace tavlo::wallpaper
