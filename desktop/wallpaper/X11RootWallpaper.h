#pragma once
#include "WallpaperBackend.h"

#include <string>

namespace tavlo::wallpaper {

// Any other X11 session: paints the picture, stretched to the screen, on a
// pixmap that becomes the root window's background and is announced through
// _XROOTPMAP_ID and ESETROOT_PMAP_ID for programs that draw pseudo-transparent
// windows. The pixmap lives on after the program exits; the one kept by the
// previous call (ours or another setter's) is freed. Refuses where a desktop
// program's window covers the root, since nothing painted there would show.
class X11RootWallpaper : public WallpaperBackend {
public:
    // An empty name means the DISPLAY of the environment.
    explicit X11RootWallpaper(std::string displayName = {}) : displayName_(std::move(displayName)) {}

    std::string name() const override { return "x11"; }
    void SetWallpaper(const std::filesystem::path& path) override;
    // Each picture scaled into its RandR monitor's rectangle; what no monitor
    // shows is left black.
    bool perMonitor() const override { return true; }
    void SetMonitorWallpapers(const std::vector<MonitorPicture>& pictures) override;
    // The root window's background ends with the X server.
    bool keptAcrossLogin() const override { return false; }

private:
    struct Painting;
    void paint(const Painting& painting);

    std::string displayName_;
};

}  // namespace tavlo::wallpaper
