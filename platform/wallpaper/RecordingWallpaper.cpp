#include "RecordingWallpaper.h"

namespace tavlo::wallpaper {

void RecordingWallpaper::SetWallpaper(const std::filesystem::path& path) {
    calls_.push_back(path);
    if (failure_) throw WallpaperError(*failure_);
}

}  // namespace tavlo::wallpaper
