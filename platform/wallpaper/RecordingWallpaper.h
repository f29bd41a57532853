#pragma once
#include "WallpaperBackend.h"

#include <optional>
#include <vector>

namespace tavlo::wallpaper {

// Stands in for the desktop in tests of the commands that set the wallpaper:
// remembers every path it was given, in order, and can be told to fail.
class RecordingWallpaper : public WallpaperBackend {
public:
    std::string name() const override { return "recording"; }
    void SetWallpaper(const std::filesystem::path& path) override;

    // The paths of the calls so far, failed calls included.
    const std::vector<std::filesystem::path>& calls() const { return calls_; }

    // From now on every call throws WallpaperError with this text; nullopt
    // lets calls succeed again.
    void failWith(std::optional<std::string> message) { failure_ = std::move(message); }

private:
    std::vector<std::filesystem::path> calls_;
    std::optional<std::string> failure_;
};

}  // namespace tavlo::wallpaper
