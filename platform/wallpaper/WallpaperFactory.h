#pragma once
#include "DesktopDetection.h"
#include "WallpaperBackend.h"

#include <memory>

namespace tavlo::wallpaper {

// The backend for the running session, and why it was picked.
BackendChoice chooseBackend();

// The backend of a given kind. Kinds that cannot exist on this platform, and
// BackendKind::None, give a backend whose every call fails with `reason`.
std::unique_ptr<WallpaperBackend> createBackend(const BackendChoice& choice);

// createBackend(chooseBackend()).
std::unique_ptr<WallpaperBackend> createSessionBackend();

}  // namespace tavlo::wallpaper
