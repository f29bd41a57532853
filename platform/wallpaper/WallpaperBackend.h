#pragma once
#include <filesystem>
#include <stdexcept>
#include <string>

namespace tavlo::wallpaper {

// The wallpaper could not be set. The text is one line that names the desktop
// mechanism and the cause, fit to be shown to the user as it stands.
class WallpaperError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One way of making a picture file the desktop wallpaper, stretched to the
// screen. The desktop must show the file's current content after every call,
// also when the path is the same as last time.
class WallpaperBackend {
public:
    virtual ~WallpaperBackend() = default;

    // Short name of the mechanism ("gnome", "kde", "x11", ...).
    virtual std::string name() const = 0;

    // Throws WallpaperError when the desktop cannot be reached or refuses.
    virtual void SetWallpaper(const std::filesystem::path& path) = 0;
};

}  // namespace tavlo::wallpaper
