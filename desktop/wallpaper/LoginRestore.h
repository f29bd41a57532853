#pragma once
#include "WallpaperBackend.h"

#include <filesystem>
#include <memory>
#include <optional>

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

// After `backend` set `picture`: remember it and write the entry, or remove
// both when the desktop keeps the picture itself. A file that cannot be
// written costs the restore at login, not the wallpaper: it throws FileError
// for the caller to report separately.
void rememberForLogin(const LoginRestorePaths& paths, const WallpaperBackend& backend,
                      const std::filesystem::path& picture);

// The picture to set again at login, if one is remembered.
std::optional<std::filesystem::path> pictureToRestore(const LoginRestorePaths& paths);

// A backend that remembers after every successful set through `desktop`.
class RememberingWallpaper : public WallpaperBackend {
public:
    RememberingWallpaper(std::unique_ptr<WallpaperBackend> desktop, LoginRestorePaths paths)
        : desktop_(std::move(desktop)), paths_(std::move(paths)) {}

    std::string name() const override { return desktop_->name(); }
    bool keptAcrossLogin() const override { return desktop_->keptAcrossLogin(); }
    void SetWallpaper(const std::filesystem::path& path) override;

private:
    std::unique_ptr<WallpaperBackend> desktop_;
    LoginRestorePaths paths_;
};

// The autostart entry that runs `tool restore`.
std::string autostartEntry(const std::filesystem::path& tool);

}  // namespace tavlo::wallpaper
