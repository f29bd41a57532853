#pragma once
#include "WallpaperBackend.h"

namespace tavlo::wallpaper {

// Windows: writes "Wallpaper" (the path) and "WallpaperStyle" ("2", stretch)
// under HKEY_CURRENT_USER\Control Panel\Desktop and then asks the system to
// apply the desktop wallpaper, which it takes from those values.
class WindowsWallpaper : public WallpaperBackend {
public:
    std::string name() const override { return "windows"; }
    void SetWallpaper(const std::filesystem::path& path) override;
};

}  // namespace tavlo::wallpaper
