#pragma once
#include "WallpaperBackend.h"

#include <string>
#include <vector>

namespace tavlo::wallpaper {

// Where a desktop of the GNOME family keeps its wallpaper in GSettings.
struct GSettingsLayout {
    std::string desktop;                    // backend name: "gnome", "cinnamon", "mate"
    std::string schema;                     // e.g. "org.gnome.desktop.background"
    std::string pictureKey;                 // must exist in the schema
    std::vector<std::string> optionalKeys;  // set as well where the schema has them
    bool keysHoldUri = true;                // "file:///..." rather than a plain path
    std::string optionsKey = "picture-options";

    static GSettingsLayout gnome();  // GNOME, Ubuntu, Budgie, Pantheon, Unity
    static GSettingsLayout cinnamon();
    static GSettingsLayout mate();
};

// Writes the picture keys and picture-options = "stretched" through GIO's
// GSettings, which hands them to the session's settings store (dconf).
class GSettingsWallpaper : public WallpaperBackend {
public:
    explicit GSettingsWallpaper(GSettingsLayout layout) : layout_(std::move(layout)) {}

    std::string name() const override { return layout_.desktop; }
    void SetWallpaper(const std::filesystem::path& path) override;

private:
    GSettingsLayout layout_;
};

}  // namespace tavlo::wallpaper
