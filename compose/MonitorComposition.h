#pragma once
#include "Bitmap.h"
#include "Composition.h"
#include "Monitor.h"
#include "WallpaperOptions.h"

#include <filesystem>
#include <vector>

namespace tavlo {

// Whether the wallpaper is made as one composite at the background's own
// size, for the desktop to stretch: with one monitor (or none known) in the
// stretch mode. Otherwise each monitor gets a composite at its own size.
bool composedAtBackgroundSize(const wallpaper::MonitorLayout& monitors, const WallpaperOptions& options);

// Where a monitor's composite goes in the background folder: the primary
// monitor's is "Mix.bmp", each other's "Mix-<output name>.bmp" (another
// base name than "Mix" for pictures that are no composite).
std::filesystem::path monitorCompositePath(const std::filesystem::path& folder, const wallpaper::Monitor& monitor,
                                           bool primary, const std::string& base = "Mix");

// One composite per monitor, at its size: the background laid on it by the
// options' fit mode, the content pasted at one to one with its right edge
// 52 pixels left of the monitor's right edge and its top 4 pixels down (on
// every monitor, or on the primary alone). Each is written to its path; the
// primary monitor's comes first. A monitor of the background's own size
// gets the background itself, as the single composite does. Throws
// FileError, ImageError.
std::vector<wallpaper::MonitorPicture> composeForMonitors(const Background& background, const imaging::Bitmap& content,
                                                          const wallpaper::MonitorLayout& monitors,
                                                          const WallpaperOptions& options,
                                                          const std::filesystem::path& folder,
                                                          const std::string& base = "Mix");

// The monitors' composites laid out as the monitors are, in one picture
// that covers them all (black where no monitor lies): "Mix-spanned.bmp",
// for desktops that take one picture for every monitor.
std::filesystem::path composeSpanned(const std::vector<wallpaper::MonitorPicture>& composites,
                                     const std::filesystem::path& folder, const std::string& base = "Mix");

}  // namespace tavlo
