#pragma once
#include "WallpaperBackend.h"

#include <chrono>

namespace tavlo::wallpaper {

// Any desktop whose portal implements org.freedesktop.portal.Wallpaper:
// SetWallpaperURI with the picture for the background and no preview, then
// the request's Response, which says whether the desktop set it.
class PortalWallpaper : public WallpaperBackend {
public:
    // How long to wait for the Response: the first time, the portal asks the
    // user whether programs may set the background.
    explicit PortalWallpaper(std::chrono::milliseconds patience = std::chrono::seconds(60)) : patience_(patience) {}

    std::string name() const override { return "portal"; }
    void SetWallpaper(const std::filesystem::path& path) override;

    // Whether the session's portal offers the Wallpaper interface.
    static bool available();

private:
    std::chrono::milliseconds patience_;
};

}  // namespace tavlo::wallpaper
