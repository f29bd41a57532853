#pragma once
#include "Bitmap.h"
#include "Monitor.h"
#include "ProgramFolder.h"
#include "WallpaperBackend.h"
#include "WallpaperOptions.h"

#include <filesystem>
#include <functional>
#include <string>

namespace tavlo {

// The monitors the wallpaper is made for; none known means one screen of
// unknown size.
using MonitorSource = std::function<wallpaper::MonitorLayout()>;

// One change of the wallpaper: the current picture written to "Content.bmp"
// and read back, the background read, the composites written ("Mix.bmp"
// and, with several monitors or a fit mode, one per monitor) and handed to
// the desktop. File failures throw.
class WallpaperChange {
public:
    enum class Outcome {
        Set,                   // the desktop took the picture
        BackgroundUnreadable,  // the background is no picture
        NotSet,                // written, but the desktop did not take it
    };

    // `base`: the composites' file name without ".bmp" ("Mix").
    WallpaperChange(const ProgramFolder& folder, wallpaper::WallpaperBackend& desktop,
                    wallpaper::MonitorLayout monitors, WallpaperOptions options, std::string base = "Mix")
        : folder_(folder), desktop_(desktop), monitors_(std::move(monitors)), options_(options),
          base_(std::move(base)) {}

    // `picture` null: the background alone (no "Content.bmp" is written).
    Outcome run(const imaging::Bitmap* picture, const std::filesystem::path& background);

    // After NotSet: what the user is told, in Chinese, and the mechanism's
    // own account, for the log.
    const std::string& failureMessage() const { return failureMessage_; }
    const std::string& failureDetail() const { return failureDetail_; }

private:
    const ProgramFolder& folder_;
    wallpaper::WallpaperBackend& desktop_;
    wallpaper::MonitorLayout monitors_;
    WallpaperOptions options_;
    std::string base_;
    std::string failureMessage_, failureDetail_;
};

}  // namespace tavlo
