#pragma once
#include <filesystem>
#include <string>
#include <vector>

namespace tavlo::wallpaper {

// One monitor of the desktop as its wallpaper sees it.
struct Monitor {
    std::string name;           // the output's name ("HDMI-1", "HEADLESS-2")
    int x = 0, y = 0;           // top-left corner in the desktop's layout, physical pixels
    int width = 0, height = 0;  // physical pixels, scale and rotation included
    bool primary = false;
    friend bool operator==(const Monitor&, const Monitor&) = default;
};

using MonitorLayout = std::vector<Monitor>;

// The monitor flagged primary, else the one nearest the layout's origin;
// the layout must not be empty.
const Monitor& primaryMonitor(const MonitorLayout& monitors);

// The monitors with the primary first, the others in the layout's reading
// order (top to bottom, left to right).
MonitorLayout primaryFirst(MonitorLayout monitors);

// A picture made for one monitor.
struct MonitorPicture {
    Monitor monitor;
    std::filesystem::path picture;
    friend bool operator==(const MonitorPicture&, const MonitorPicture&) = default;
};

}  // namespace tavlo::wallpaper
