#pragma once
#include <cstdint>
#include <string>

namespace tavlo::wallpaper::sway {

// Message types of sway's IPC (the i3 protocol).
constexpr std::uint32_t kRunCommand = 0;
constexpr std::uint32_t kGetOutputs = 3;

// Sends one message over the socket at `socketPath` and returns the reply's
// payload. Throws WallpaperError, with a Chinese cause, when the compositor
// cannot be reached or answers out of protocol; a compositor that never
// answers fails after a time-out.
std::string request(const std::string& socketPath, std::uint32_t type, const std::string& payload);

}  // namespace tavlo::wallpaper::sway
