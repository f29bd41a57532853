#pragma once
#include "WallpaperBackend.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tavlo::wallpaper {

// Where the desktop forgets the wallpaper at logout (a painted X11 root, a
// background client, sway's own background), the picture is remembered in
// the program folder and an XDG autostart entry runs `TOOL restore` at the
// next login. The entry exists only while such a mechanism is in use: a set
// through a desktop that keeps the wallpaper removes it.
struct LoginRestorePaths {
    std::filesystem::path stateFile;       // the last picture, one line
    std::filesystem::path autostartEntry;  // …/autostart/tavlo-wallpaper.desktop
    std::filesystem::path tool;            // the tavlo-wallpaper that restores

    // The program folder's state file and tool, the user's autostart folder.
    static LoginRestorePaths forProgramFolder(const std::filesystem::path& programFolder);
};

// What was set last: one picture, one picture across the monitors, or one
// picture per monitor (by output name). Kept in the state file one value a
// line: the picture (the primary monitor's, with several), then "spanned"
// or "monitors", then each monitor's name and picture.
struct RememberedWallpaper {
    enum class Kind { Single, Spanned, PerMonitor };
    Kind kind = Kind::Single;
    std::filesystem::path picture;
    std::vector<std::pair<std::string, std::filesystem::path>> monitors;
    friend bool operator==(const RememberedWallpaper&, const RememberedWallpaper&) = default;
};

// After `backend` set `wallpaper`: remember it and write the entry, or
// remove both when the desktop keeps the picture itself. A file that cannot
// be written, or a path that no line of the state file could hold, costs the
// restore at login, not the wallpaper: it throws for the caller to report
// separately.
void rememberForLogin(const LoginRestorePaths& paths, const WallpaperBackend& backend,
                      const RememberedWallpaper& wallpaper);

// What to set again at login, if anything is remembered.
std::optional<RememberedWallpaper> wallpaperToRestore(const LoginRestorePaths& paths);

// Sets `wallpaper` again through `backend`, on the monitors of `monitors`
// that it names (a picture per monitor whose output is gone is dropped; if
// none is left, the first picture alone).
void restoreWallpaper(WallpaperBackend& backend, const RememberedWallpaper& wallpaper, const MonitorLayout& monitors);

// A backend that remembers after every successful set through `desktop`.
class RememberingWallpaper : public WallpaperBackend {
public:
    RememberingWallpaper(std::unique_ptr<WallpaperBackend> desktop, LoginRestorePaths paths)
        : desktop_(std::move(desktop)), paths_(std::move(paths)) {}

    std::string name() const override { return desktop_->name(); }
    bool keptAcrossLogin() const override { return desktop_->keptAcrossLogin(); }
    void SetWallpaper(const std::filesystem::path& path) override;
    bool perMonitor() const override { return desktop_->perMonitor(); }
    void SetMonitorWallpapers(const std::vector<MonitorPicture>& pictures) override;
    void SetSpannedWallpaper(const std::filesystem::path& path) override;

private:
    void remember(const RememberedWallpaper& wallpaper);

    std::unique_ptr<WallpaperBackend> desktop_;
    LoginRestorePaths paths_;
};

// The autostart entry that runs `tool restore`.
std::string autostartEntry(const std::filesystem::path& tool);
// An autostart entry that runs `tool` with `arguments`. Throws
// UserFacingError when the command is not UTF-8, which desktops skip.
std::string autostartEntry(const std::filesystem::path& tool, const std::vector<std::string>& arguments,
                           const std::string& name, const std::string& comment);
// Writes a file of the user's configuration (an entry, a unit), atomically.
void writeConfigFile(const std::filesystem::path& file, const std::string& entry);

}  // namespace tavlo::wallpaper
