#pragma once
#include "WallpaperBackend.h"

#include <string>

namespace tavlo::wallpaper {

// sway and the wlroots compositors that speak its IPC: sends the command
// `output * bg PATH stretch` over the socket named by SWAYSOCK, or one
// `output NAME bg PATH stretch` per output.
class SwayWallpaper : public WallpaperBackend {
public:
    // An empty socket path is reported when the wallpaper is set.
    explicit SwayWallpaper(std::string socketPath) : socketPath_(std::move(socketPath)) {}

    std::string name() const override { return "sway"; }
    void SetWallpaper(const std::filesystem::path& path) override;
    bool perMonitor() const override { return true; }
    void SetMonitorWallpapers(const std::vector<MonitorPicture>& pictures) override;
    // sway forgets it at exit; its config decides the next session's.
    bool keptAcrossLogin() const override { return false; }

    // The command for `path` on `output` ("*": every output), escaped so
    // that sway's argument splitting and its shell-style expansion of the
    // file name both give the path back.
    static std::string command(const std::filesystem::path& path, const std::string& output = "*");

private:
    std::string socketPath_;
};

}  // namespace tavlo::wallpaper
