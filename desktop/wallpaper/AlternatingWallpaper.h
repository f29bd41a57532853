#pragma once
#include "WallpaperBackend.h"

#include <memory>

namespace tavlo::wallpaper {

// For desktops that keep showing the picture they have while the configured
// path stays the same. Emptying the setting first would make them reload,
// but leaves the desktop blank for a moment, and without any wallpaper if
// the second step never comes. Instead the desktop is handed, in turn, the
// picture itself and a second name beside it holding the same bytes, so
// every call changes the path and the stored value is never empty. The
// second name exists exactly while the desktop was last handed it. Only
// pictures in the program's own folder get a second name: nothing is added
// beside a picture of the user's.
class AlternatingWallpaper : public WallpaperBackend {
public:
    AlternatingWallpaper(std::unique_ptr<WallpaperBackend> desktop, std::filesystem::path ownFolder)
        : desktop_(std::move(desktop)), ownFolder_(std::move(ownFolder)) {}

    std::string name() const override { return desktop_->name(); }
    bool keptAcrossLogin() const override { return desktop_->keptAcrossLogin(); }
    void SetWallpaper(const std::filesystem::path& path) override;
    bool perMonitor() const override { return desktop_->perMonitor(); }
    void SetMonitorWallpapers(const std::vector<MonitorPicture>& pictures) override;
    void SetSpannedWallpaper(const std::filesystem::path& path) override;

    // "Mix.bmp" → "Mix-2.bmp", in the same folder.
    static std::filesystem::path secondName(const std::filesystem::path& picture);

private:
    // Which name each picture goes by this time, and what to remove after.
    struct Handover;
    Handover handOver(const std::vector<std::filesystem::path>& pictures) const;

    std::unique_ptr<WallpaperBackend> desktop_;
    std::filesystem::path ownFolder_;
};

}  // namespace tavlo::wallpaper
