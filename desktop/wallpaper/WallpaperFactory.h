#pragma once
#include "DesktopDetection.h"
#include "WallpaperBackend.h"

#include <filesystem>
#include <memory>

namespace tavlo::wallpaper {

// The backend for the running session, and why it was picked: from the
// environment, checked against what the session offers.
BackendChoice chooseBackend();

// The backend of a given kind. Kinds that cannot exist on this platform, and
// BackendKind::None, give a backend whose every call fails with `reason`.
std::unique_ptr<WallpaperBackend> createBackend(const BackendChoice& choice);

// createBackend(chooseBackend()).
std::unique_ptr<WallpaperBackend> createSessionBackend();

// What the program and its tools use: the session's backend, handing desktops
// that would not reload a path they have a second name for the pictures of
// the program folder's background folder, and setting the picture again at
// the next login where the desktop forgets it.
std::unique_ptr<WallpaperBackend> createProgramBackend(const std::filesystem::path& programFolder);

// The same for a chosen kind (tests, and a restore that must not ask twice).
std::unique_ptr<WallpaperBackend> createProgramBackend(const BackendChoice& choice,
                                                       const std::filesystem::path& programFolder);

}  // namespace tavlo::wallpaper
