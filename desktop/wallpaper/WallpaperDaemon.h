#pragma once
#include "WallpaperBackend.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tavlo::wallpaper {

// A wallpaper program of the user's own that draws the background of a
// wlroots compositor (hyprpaper, swww): the picture goes through its command
// instead of a background client of the program's, which would fight it.
class WallpaperDaemon : public WallpaperBackend {
public:
    enum class Kind { Hyprpaper, Swww };

    // The daemon the user runs in this session, if any.
    static std::optional<Kind> running();

    explicit WallpaperDaemon(Kind kind) : kind_(kind) {}

    std::string name() const override { return kind_ == Kind::Hyprpaper ? "hyprpaper" : "swww"; }
    void SetWallpaper(const std::filesystem::path& path) override;
    // Each picture on its output (`swww img -o`, hyprpaper's "NAME,PATH").
    bool perMonitor() const override { return true; }
    void SetMonitorWallpapers(const std::vector<MonitorPicture>& pictures) override;
    // At login the daemon shows what its own configuration names.
    bool keptAcrossLogin() const override { return false; }

private:
    void show(const std::vector<std::pair<std::string, std::filesystem::path>>& pictures);

    Kind kind_;
};

}  // namespace tavlo::wallpaper
