#pragma once
#include "Monitor.h"

#include <filesystem>
#include <stdexcept>
#include <string>

namespace tavlo::wallpaper {

// The wallpaper could not be set. cause() says why in one Chinese sentence,
// fit to be shown to the user; what() is the mechanism's own account, for
// the log.
class WallpaperError : public std::runtime_error {
public:
    WallpaperError(std::string cause, const std::string& detail)
        : std::runtime_error(detail), cause_(std::move(cause)) {}
    // Where the cause says all there is to say.
    explicit WallpaperError(const std::string& cause) : WallpaperError(cause, cause) {}

    const std::string& cause() const noexcept { return cause_; }

private:
    std::string cause_;
};

// One way of making a picture file the desktop wallpaper, stretched to the
// screen. The desktop must show the file's current content after every call,
// also when the path is the same as last time, and a call succeeds only when
// the desktop took the picture.
class WallpaperBackend {
public:
    virtual ~WallpaperBackend() = default;

    // Short name of the mechanism ("gnome", "kde", "x11", ...).
    virtual std::string name() const = 0;

    // Throws WallpaperError when the desktop cannot be reached or refuses.
    virtual void SetWallpaper(const std::filesystem::path& path) = 0;

    // Whether the desktop shows the picture again by itself after a new
    // login; where it does not, the picture has to be set again at login.
    virtual bool keptAcrossLogin() const { return true; }

    // With several monitors: whether the desktop takes one picture per
    // monitor (SetMonitorWallpapers) or one picture for all, laid out as the
    // monitors are (SetSpannedWallpaper).
    virtual bool perMonitor() const { return false; }
    // Each monitor its own picture, made at that monitor's size. Throws
    // WallpaperError naming the monitor that could not be set.
    virtual void SetMonitorWallpapers(const std::vector<MonitorPicture>& pictures);
    // One picture across all monitors: the desktop's "spanned" mode where it
    // has one, else the picture as it is.
    virtual void SetSpannedWallpaper(const std::filesystem::path& path) { SetWallpaper(path); }
};

}  // namespace tavlo::wallpaper
