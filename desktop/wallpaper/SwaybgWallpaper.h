#pragma once
#include "WallpaperBackend.h"

#include <QStringList>

#include <filesystem>
#include <string>

namespace tavlo::wallpaper {

// Wayland compositors that offer the layer-shell but no wallpaper interface
// of their own (Hyprland, Wayfire, labwc, river, niri, ...): a detached
// `swaybg -m stretch -i PATH` draws the background and outlives the program.
// The swaybg started by the previous call is ended once the new one has
// drawn, and only that one: its process id and start time are kept in the
// session's runtime folder. swaybg reports neither success nor a picture it
// cannot load by its exit status, so it runs with the Wayland client log on:
// the call succeeds when the log shows the picture handed to the compositor
// before any load failure, and fails when swaybg ends first.
class SwaybgWallpaper : public WallpaperBackend {
public:
    // The compositor's socket name (WAYLAND_DISPLAY) and the runtime folder
    // (XDG_RUNTIME_DIR) that holds it.
    SwaybgWallpaper(std::string waylandDisplay, std::filesystem::path runtimeFolder)
        : display_(std::move(waylandDisplay)), runtime_(std::move(runtimeFolder)) {}

    std::string name() const override { return "swaybg"; }
    void SetWallpaper(const std::filesystem::path& path) override;
    // `swaybg -o NAME -m stretch -i PATH` for each output, in one client;
    // drawn when the log shows a buffer handed over for each.
    bool perMonitor() const override { return true; }
    void SetMonitorWallpapers(const std::vector<MonitorPicture>& pictures) override;
    // The background client ends with the session.
    bool keptAcrossLogin() const override { return false; }

    // Where the running swaybg is recorded, and where it logs.
    std::filesystem::path recordFile() const;
    std::filesystem::path logFile() const;

private:
    void run(const QStringList& arguments, std::size_t outputs);

    std::string display_;
    std::filesystem::path runtime_;
};

}  // namespace tavlo::wallpaper
