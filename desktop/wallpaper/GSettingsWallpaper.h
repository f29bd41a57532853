#pragma once
#include "DesktopDetection.h"
#include "WallpaperBackend.h"

#include <string>
#include <vector>

namespace tavlo::wallpaper {

// A key that holds the picture: as a "file:///..." URI or as a plain path.
struct PictureKey {
    std::string name;
    bool holdsUri = true;
    bool required = true;  // optional keys are set where the schema has them
};

// Where a desktop keeps its wallpaper in GSettings.
struct GSettingsLayout {
    std::string schema;  // e.g. "org.gnome.desktop.background"
    std::vector<PictureKey> pictureKeys;
    std::string optionsKey = "picture-options";

    static GSettingsLayout gnome();  // GNOME, Ubuntu, Budgie, Pantheon, Unity
    static GSettingsLayout cinnamon();
    static GSettingsLayout mate();
    static GSettingsLayout ukui();  // newer UKUI; older ones read MATE's keys

    bool installed() const;
};

// Writes the picture keys and picture-options = "stretched" ("spanned" for a
// picture across all monitors) through GIO's
// GSettings, which hands them to the session's settings store (dconf), into
// every layout whose schema is installed; at least one must be.
class GSettingsWallpaper : public WallpaperBackend {
public:
    GSettingsWallpaper(BackendKind desktop, std::vector<GSettingsLayout> layouts)
        : desktop_(desktop), layouts_(std::move(layouts)) {}
    GSettingsWallpaper(BackendKind desktop, GSettingsLayout layout)
        : GSettingsWallpaper(desktop, std::vector<GSettingsLayout>{std::move(layout)}) {}

    std::string name() const override { return backendName(desktop_); }
    void SetWallpaper(const std::filesystem::path& path) override;
    void SetSpannedWallpaper(const std::filesystem::path& path) override;

private:
    void writeAll(const std::filesystem::path& path, const char* style) const;
    void write(const GSettingsLayout& layout, const std::filesystem::path& path, const char* style) const;

    BackendKind desktop_;
    std::vector<GSettingsLayout> layouts_;
};

}  // namespace tavlo::wallpaper
