#pragma once
#include "WallpaperBackend.h"

#include <string>

namespace tavlo::wallpaper {

// Any other X11 session: paints the picture, stretched to the screen, on a
// pixmap that becomes the root window's background and is announced through
// _XROOTPMAP_ID and ESETROOT_PMAP_ID for programs that draw pseudo-transparent
// windows. The pixmap lives on after the program exits; the one kept by the
// previous call (ours or another setter's) is freed.
class X11RootWallpaper : public WallpaperBackend {
public:
    // An empty name means the DISPLAY of the environment.
    explicit X11RootWallpaper(std::string displayName = {}) : displayName_(std::move(displayName)) {}

    std::string name() const override { return "x11"; }
    void SetWallpaper(const std::filesystem::path& path) override;

private:
    std::string displayName_;
};

}  // namespace tavlo::wallpaper
