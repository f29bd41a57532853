#pragma once
#include "FitMode.h"
#include "ProgramFolder.h"

namespace tavlo {

// How the wallpaper is laid on the monitors; "Data\WallpaperFit.ini", one
// value a line: the fit mode's word, then "all" or "primary" (the monitors
// that get the current picture). The defaults, stretch on every monitor,
// are what a missing or unreadable file means.
struct WallpaperOptions {
    FitMode mode = FitMode::Stretch;
    bool pictureOnEveryMonitor = true;
    friend bool operator==(const WallpaperOptions&, const WallpaperOptions&) = default;

    static WallpaperOptions read(const ProgramFolder& folder);
    void write(const ProgramFolder& folder) const;  // throws FileError
};

}  // namespace tavlo
