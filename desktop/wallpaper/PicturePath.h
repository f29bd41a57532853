#pragma once
#include <QString>

#include <filesystem>

namespace tavlo::wallpaper {

// A picture's full path as a "file://" address built from the path's own
// bytes, so that a folder name that is not UTF-8 (a GBK-named home folder)
// still names the file.
QString fileAddress(const std::filesystem::path& picture);

// A picture's full path as text, for desktops that take the path as text
// (xfconf, command lines). Throws WallpaperError when the path is not UTF-8:
// such a desktop would store a path that names no file.
QString pathText(const std::filesystem::path& picture);

}  // namespace tavlo::wallpaper
