#pragma once
#include "FitMode.h"
#include "WallpaperBackend.h"
#include "WallpaperRotation.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace tavlo {

// The developer's account of a failure, for --verbose.
using Tell = std::function<void(const std::string&)>;

// `next` and `previous`: one step of the walk with the current picture, for
// the monitors of the session; returns the background's file name. Throws
// tool::Failure with the Chinese message.
std::string step(wallpaper::WallpaperBackend& desktop, const std::filesystem::path& folder,
                 WallpaperRotation::Direction direction, std::optional<FitMode> mode, const Tell& tell);

// `set --mode`: the picture laid on each monitor as `mode` lays it.
void setFitted(wallpaper::WallpaperBackend& desktop, const std::filesystem::path& folder,
               const std::filesystem::path& picture, FitMode mode, const Tell& tell);

}  // namespace tavlo
