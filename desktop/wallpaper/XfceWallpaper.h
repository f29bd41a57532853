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

    // The last-image properties among the channel's property names, sorted.
    static QStringList imageProperties(const QStringList& propertyNames);
};

}  // namespace tavlo::wallpaper
