#include "WallpaperChange.h"

#include "Composition.h"
#include "MonitorComposition.h"
#include "WallpaperTexts.h"

namespace tavlo {

WallpaperChange::Outcome WallpaperChange::run(const imaging::Bitmap* picture,
                                              const std::filesystem::path& backgroundPath) {
    Composition composition(folder_.backgroundFolder());
    if (picture) composition.SaveContentPicture(*picture);
    if (!composition.LoadBackground(backgroundPath)) return Outcome::BackgroundUnreadable;
    const imaging::Bitmap none;
    const imaging::Bitmap& content = composition.content() ? *composition.content() : none;

    const std::filesystem::path folder = folder_.backgroundFolder();
    std::filesystem::path shown = folder / (base_ + ".bmp");
    try {
        if (composedAtBackgroundSize(monitors_, options_)) {
            composition.background()->composeInto(
                content, Placement::onBackground(composition.background()->width(), content.width()), shown);
            desktop_.SetWallpaper(shown);
        } else {
            const auto composites =
                composeForMonitors(*composition.background(), content, monitors_, options_, folder, base_);
            if (composites.size() == 1) {
                desktop_.SetWallpaper(shown);
            } else if (desktop_.perMonitor()) {
                desktop_.SetMonitorWallpapers(composites);
            } else {
                shown = composeSpanned(composites, folder, base_);
                desktop_.SetSpannedWallpaper(shown);
            }
        }
    } catch (const wallpaper::WallpaperError& error) {
        failureMessage_ = wallpaper::texts::failureMessage(error.cause(), shown);
        failureDetail_ = error.what();
        return Outcome::NotSet;
    }
    return Outcome::Set;
}

}  // namespace tavlo
