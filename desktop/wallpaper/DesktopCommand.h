#pragma once
#include "DesktopDetection.h"

#include <QStringList>

#include <chrono>
#include <string>

namespace tavlo::wallpaper {

// Whether `program` is an executable in PATH.
bool programInPath(const std::string& program);

// Runs a desktop's own command-line program and waits for it to end, at most
// `timeout` (then it is killed). Throws WallpaperError when the program is
// not installed, does not end in time, crashes or exits with a status other
// than 0. Returns what it wrote to standard output and standard error.
std::string runDesktopCommand(const std::string& program, const QStringList& arguments,
                              std::chrono::milliseconds timeout = std::chrono::seconds(20));

// The user's configuration and cache folders ($XDG_CONFIG_HOME, $XDG_CACHE_HOME
// or their defaults under $HOME).
std::string userConfigFolder();
std::string userCacheFolder();

}  // namespace tavlo::wallpaper
