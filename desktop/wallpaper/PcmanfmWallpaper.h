#pragma once
#include "DesktopDetection.h"
#include "WallpaperBackend.h"

#include <chrono>
#include <filesystem>
#include <map>
#include <string>

namespace tavlo::wallpaper {

// LXQt and LXDE: the desktop program itself (pcmanfm-qt, pcmanfm) is told
// `--set-wallpaper PATH --wallpaper-mode stretch`, and hands the request to
// its running desktop. Neither reports a picture it could not load, so the
// call counts only once the desktop shows that it took the picture: LXDE's
// desktop rewrites its settings with the new wallpaper, LXQt's writes the
// scaled picture to its cache together with the picture's path.
class PcmanfmWallpaper : public WallpaperBackend {
public:
    // kind: BackendKind::Lxqt or BackendKind::Lxde. The desktop loads and
    // scales the picture after the command has handed it over; a large
    // picture on a slow machine takes a few seconds.
    explicit PcmanfmWallpaper(BackendKind kind, std::chrono::milliseconds acceptanceWait = std::chrono::seconds(10))
        : kind_(kind), acceptanceWait_(acceptanceWait) {}

    std::string name() const override { return backendName(kind_); }
    void SetWallpaper(const std::filesystem::path& path) override;
    void SetSpannedWallpaper(const std::filesystem::path& path) override;

    // The desktop program of `kind`.
    static std::string program(BackendKind kind);

private:
    using Snapshot = std::map<std::filesystem::path, std::filesystem::file_time_type>;
    // The files through which the desktop shows what it took, with their times.
    Snapshot evidence() const;
    void set(const std::filesystem::path& path, const std::string& mode);
    bool accepted(const std::filesystem::path& file, const std::string& picture, const std::string& mode) const;

    BackendKind kind_;
    std::chrono::milliseconds acceptanceWait_;
};

}  // namespace tavlo::wallpaper
