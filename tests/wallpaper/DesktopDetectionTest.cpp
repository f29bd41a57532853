#include "DesktopDetection.h"
#include "WallpaperFactory.h"

#include <gtest/gtest.h>

namespace tavlo::wallpaper {
namespace {

struct Case {
    SessionEnvironment environment;
    BackendKind expected;
};

TEST(DesktopDetection, PicksTheDesktopsOwnMechanism) {
    const Case cases[] = {
        {{{"XDG_CURRENT_DESKTOP", "GNOME"}, {"DISPLAY", ":0"}}, BackendKind::Gnome},
        {{{"XDG_CURRENT_DESKTOP", "ubuntu:GNOME"}, {"WAYLAND_DISPLAY", "wayland-0"}}, BackendKind::Gnome},
        {{{"XDG_CURRENT_DESKTOP", "Budgie:GNOME"}}, BackendKind::Gnome},
        {{{"XDG_CURRENT_DESKTOP", "Pantheon"}}, BackendKind::Gnome},
        {{{"XDG_CURRENT_DESKTOP", "Unity:Unity7:ubuntu"}}, BackendKind::Gnome},
        {{{"XDG_CURRENT_DESKTOP", "X-Cinnamon"}}, BackendKind::Cinnamon},
        {{{"XDG_CURRENT_DESKTOP", "MATE"}}, BackendKind::Mate},
        {{{"XDG_CURRENT_DESKTOP", "KDE"}, {"WAYLAND_DISPLAY", "wayland-0"}}, BackendKind::Kde},
        {{{"XDG_CURRENT_DESKTOP", "XFCE"}, {"DISPLAY", ":0"}}, BackendKind::Xfce},
        {{{"XDG_CURRENT_DESKTOP", "sway"}, {"SWAYSOCK", "/run/sway.sock"}}, BackendKind::Sway},
        // The first name that is known decides.
        {{{"XDG_CURRENT_DESKTOP", "Unknown:KDE:GNOME"}}, BackendKind::Kde},
        // Older sessions name the desktop elsewhere.
        {{{"DESKTOP_SESSION", "/usr/share/xsessions/plasma"}, {"DISPLAY", ":0"}}, BackendKind::Kde},
        {{{"XDG_SESSION_DESKTOP", "xfce"}, {"DISPLAY", ":0"}}, BackendKind::Xfce},
        {{{"KDE_FULL_SESSION", "true"}, {"DISPLAY", ":0"}}, BackendKind::Kde},
        {{{"GNOME_DESKTOP_SESSION_ID", "this-is-deprecated"}, {"DISPLAY", ":0"}}, BackendKind::Gnome},
        {{{"MATE_DESKTOP_SESSION_ID", "this-is-deprecated"}, {"DISPLAY", ":0"}}, BackendKind::Mate},
        // No desktop named: the display server decides.
        {{{"XDG_CURRENT_DESKTOP", "Hyprland"}, {"SWAYSOCK", "/run/x.sock"}, {"WAYLAND_DISPLAY", "w"}},
         BackendKind::Sway},
        {{{"XDG_CURRENT_DESKTOP", "i3"}, {"DISPLAY", ":0"}}, BackendKind::X11Root},
        {{{"DISPLAY", ":1"}, {"XDG_CURRENT_DESKTOP", ""}}, BackendKind::X11Root},
        // Painting the X11 root under an unknown Wayland compositor would show nothing.
        {{{"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ":0"}}, BackendKind::None},
        {{}, BackendKind::None},
    };
    for (const Case& c : cases) {
        const BackendChoice choice = chooseDesktopBackend(c.environment);
        std::string described;
        for (const auto& [name, value] : c.environment) described += name + "=" + value + " ";
        EXPECT_EQ(backendName(choice.kind), backendName(c.expected)) << described;
        EXPECT_FALSE(choice.reason.empty()) << described;
    }
}

TEST(DesktopDetection, ReasonNamesTheDecidingVariable) {
    EXPECT_EQ(chooseDesktopBackend({{"XDG_CURRENT_DESKTOP", "X-Cinnamon"}}).reason,
              "XDG_CURRENT_DESKTOP=X-Cinnamon names a cinnamon desktop");
    EXPECT_EQ(chooseDesktopBackend({{"DISPLAY", ":3"}}).reason,
              "DISPLAY=:3 and no known desktop: painting the X11 root window");
}

TEST(WallpaperFactory, NoDesktopGivesABackendThatSaysWhy) {
    const auto backend = createBackend({BackendKind::None, "no desktop session"});
    EXPECT_EQ(backend->name(), "none");
    try {
        backend->SetWallpaper("/tmp/Mix.bmp");
        FAIL() << "no error";
    } catch (const WallpaperError& error) {
        EXPECT_STREQ(error.what(), "cannot set the wallpaper: no desktop session");
    }
    EXPECT_EQ(createBackend({BackendKind::Windows, ""})->name(), "none");
    EXPECT_EQ(createBackend({BackendKind::Gnome, ""})->name(), "gnome");
}

}  // namespace
}  // namespace tavlo::wallpaper
