#include "WindowingTraits.h"

#include <QGuiApplication>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <string>

namespace tavlo::app {
namespace {

// Desktops (XDG_CURRENT_DESKTOP) that tile: sway and its wlroots kin, and the
// common tiling X11 window managers.
bool tilingDesktop(std::string_view desktops) {
    static constexpr std::string_view kTiling[] = {"sway", "i3",    "hyprland", "river", "dwl",    "qtile",
                                                   "niri", "bspwm", "awesome",  "dwm",   "xmonad", "herbstluftwm"};
    for (std::size_t start = 0; start <= desktops.size();) {
        const std::size_t end = std::min(desktops.find(':', start), desktops.size());
        std::string name(desktops.substr(start, end - start));
        std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
        if (std::find(std::begin(kTiling), std::end(kTiling), name) != std::end(kTiling)) return true;
        start = end + 1;
    }
    return false;
}

}  // namespace

WindowingTraits windowingTraits(std::string_view platformName,
                                const std::function<const char*(const char*)>& environment) {
    const auto set = [&environment](const char* name) {
        const char* value = environment(name);
        return value && *value;
    };
    WindowingTraits traits;
    // The compositors' own IPC sockets say it even where the desktop's name is not set.
    const char* desktops = environment("XDG_CURRENT_DESKTOP");
    traits.tiling = set("SWAYSOCK") || set("I3SOCK") || set("HYPRLAND_INSTANCE_SIGNATURE") ||
                    tilingDesktop(desktops ? desktops : "");
    traits.positionKnown = platformName != "wayland" && !platformName.starts_with("wayland-");
    return traits;
}

WindowingTraits sessionWindowingTraits() {
    return windowingTraits(QGuiApplication::platformName().toStdString(),
                           [](const char* name) { return std::getenv(name); });
}

}  // namespace tavlo::app
