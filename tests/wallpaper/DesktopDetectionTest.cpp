#include "DesktopDetection.h"
#include "WallpaperFactory.h"

#include <gtest/gtest.h>

namespace tavlo::wallpaper {
namespace {

struct Case {
    SessionEnvironment environment;
    BackendKind expected;
};

std::string described(const SessionEnvironment& environment) {
    std::string text;
    for (const auto& [name, value] : environment) text += name + "=" + value + " ";
    return text;
}

TEST(DesktopDetection, PicksTheDesktopsOwnMechanism) {
    const Case cases[] = {
        {{{"XDG_CURRENT_DESKTOP", "GNOME"}, {"DISPLAY", ":0"}}, BackendKind::Gnome},
        {{{"XDG_CURRENT_DESKTOP", "ubuntu:GNOME"}, {"WAYLAND_DISPLAY", "wayland-0"}}, BackendKind::Gnome},
        {{{"XDG_CURRENT_DESKTOP", "Budgie:GNOME"}}, BackendKind::Gnome},
        {{{"XDG_CURRENT_DESKTOP", "Pantheon"}}, BackendKind::Gnome},
        {{{"XDG_CURRENT_DESKTOP", "Unity:Unity7:ubuntu"}}, BackendKind::Gnome},
        {{{"XDG_CURRENT_DESKTOP", "X-Cinnamon"}}, BackendKind::Cinnamon},
        {{{"XDG_CURRENT_DESKTOP", "MATE"}}, BackendKind::Mate},
        {{{"XDG_CURRENT_DESKTOP", "UKUI"}, {"DISPLAY", ":0"}}, BackendKind::Ukui},
        {{{"XDG_CURRENT_DESKTOP", "KDE"}, {"WAYLAND_DISPLAY", "wayland-0"}}, BackendKind::Kde},
        {{{"XDG_CURRENT_DESKTOP", "XFCE"}, {"DISPLAY", ":0"}}, BackendKind::Xfce},
        {{{"XDG_CURRENT_DESKTOP", "LXQt"}, {"DISPLAY", ":0"}}, BackendKind::Lxqt},
        {{{"XDG_CURRENT_DESKTOP", "LXDE"}, {"DISPLAY", ":0"}}, BackendKind::Lxde},
        {{{"DESKTOP_SESSION", "Lubuntu"}, {"DISPLAY", ":0"}}, BackendKind::Lxde},
        {{{"XDG_CURRENT_DESKTOP", "Deepin"}, {"DISPLAY", ":0"}}, BackendKind::Deepin},
        {{{"XDG_CURRENT_DESKTOP", "DDE"}, {"WAYLAND_DISPLAY", "wayland-0"}}, BackendKind::Deepin},
        {{{"XDG_CURRENT_DESKTOP", "sway"}, {"SWAYSOCK", "/run/sway.sock"}}, BackendKind::Sway},
        // The first name that is known decides.
        {{{"XDG_CURRENT_DESKTOP", "Unknown:KDE:GNOME"}}, BackendKind::Kde},
        // Older sessions name the desktop elsewhere.
        {{{"DESKTOP_SESSION", "/usr/share/xsessions/plasma"}, {"DISPLAY", ":0"}}, BackendKind::Kde},
        {{{"XDG_SESSION_DESKTOP", "xfce"}, {"DISPLAY", ":0"}}, BackendKind::Xfce},
        {{{"KDE_FULL_SESSION", "true"}, {"DISPLAY", ":0"}}, BackendKind::Kde},
        {{{"GNOME_DESKTOP_SESSION_ID", "this-is-deprecated"}, {"DISPLAY", ":0"}}, BackendKind::Gnome},
        {{{"MATE_DESKTOP_SESSION_ID", "this-is-deprecated"}, {"DISPLAY", ":0"}}, BackendKind::Mate},
        // Desktops that draw their own background out of reach: never the root.
        {{{"XDG_CURRENT_DESKTOP", "Enlightenment"}, {"DISPLAY", ":0"}}, BackendKind::None},
        {{{"XDG_CURRENT_DESKTOP", "Trinity"}, {"DISPLAY", ":0"}}, BackendKind::None},
        // No desktop named: the display server decides.
        {{{"XDG_CURRENT_DESKTOP", "Hyprland"}, {"SWAYSOCK", "/run/x.sock"}, {"WAYLAND_DISPLAY", "w"}},
         BackendKind::Sway},
        {{{"XDG_CURRENT_DESKTOP", "Hyprland"}, {"WAYLAND_DISPLAY", "wayland-1"}}, BackendKind::Swaybg},
        {{{"XDG_CURRENT_DESKTOP", "wlroots:labwc"}, {"WAYLAND_DISPLAY", "wayland-1"}}, BackendKind::Swaybg},
        {{{"XDG_CURRENT_DESKTOP", "niri"}, {"WAYLAND_DISPLAY", "wayland-1"}, {"DISPLAY", ":1"}}, BackendKind::Swaybg},
        {{{"XDG_CURRENT_DESKTOP", "COSMIC"}, {"WAYLAND_DISPLAY", "wayland-1"}}, BackendKind::Portal},
        {{{"XDG_CURRENT_DESKTOP", "i3"}, {"DISPLAY", ":0"}}, BackendKind::X11Root},
        {{{"XDG_CURRENT_DESKTOP", "qtile"}, {"DISPLAY", ":0"}}, BackendKind::X11Root},
        {{{"DISPLAY", ":1"}, {"XDG_CURRENT_DESKTOP", ""}}, BackendKind::X11Root},
        // Painting the X11 root under a Wayland compositor would show nothing.
        {{{"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ":0"}}, BackendKind::Portal},
        {{}, BackendKind::None},
    };
    for (const Case& c : cases) {
        const BackendChoice choice = chooseDesktopBackend(c.environment);
        EXPECT_EQ(backendName(choice.kind), backendName(c.expected)) << described(c.environment);
        EXPECT_FALSE(choice.reason.empty()) << described(c.environment);
    }
}

TEST(DesktopDetection, ReasonSaysInChineseWhatDecided) {
    EXPECT_EQ(chooseDesktopBackend({{"XDG_CURRENT_DESKTOP", "X-Cinnamon"}}).reason,
              "XDG_CURRENT_DESKTOP=X-Cinnamon 表示 Cinnamon 桌面");
    EXPECT_EQ(chooseDesktopBackend({{"DISPLAY", ":3"}}).reason, "DISPLAY=:3，桌面未知，画在 X11 根窗口上");
    EXPECT_EQ(chooseDesktopBackend({{"XDG_CURRENT_DESKTOP", "Enlightenment"}}).reason,
              "XDG_CURRENT_DESKTOP=Enlightenment 的桌面自己绘制背景，本程序无法更换它的壁纸");
}

// What the running session shows overrides the environment where the
// environment alone could be wrong.
TEST(DesktopDetection, TheRunningSessionHasTheLastWord) {
    struct Probe {
        BackendChoice choice;
        SessionEnvironment environment;
        std::optional<DesktopWindow> window;
        bool portal, swaybg;
        BackendKind expected;
    };
    const SessionEnvironment x11{{"DISPLAY", ":0"}};
    const SessionEnvironment wayland{{"WAYLAND_DISPLAY", "wayland-1"}};
    const BackendChoice root{BackendKind::X11Root, "root"}, lxqt{BackendKind::Lxqt, "LXQt"},
        lxde{BackendKind::Lxde, "LXDE"}, portal{BackendKind::Portal, "portal"};
    const Probe probes[] = {
        {root, x11, std::nullopt, false, false, BackendKind::X11Root},
        {root, x11, DesktopWindow{"pcmanfm-qt"}, false, false, BackendKind::Lxqt},
        {root, x11, DesktopWindow{"pcmanfm"}, false, false, BackendKind::Lxde},
        {root, x11, DesktopWindow{"xfdesktop"}, false, false, BackendKind::Xfce},
        {root, x11, DesktopWindow{"caja"}, false, false, BackendKind::Mate},
        {root, x11, DesktopWindow{"dde-desktop"}, false, false, BackendKind::Deepin},
        {root, x11, DesktopWindow{"peony-qt-desktop"}, false, false, BackendKind::Ukui},
        // A desktop window of a program not known here: painting the root
        // would be a success the screen does not show.
        {root, x11, DesktopWindow{"somedesktop"}, false, false, BackendKind::None},
        {lxqt, x11, DesktopWindow{"pcmanfm-qt"}, false, false, BackendKind::Lxqt},
        {lxqt, x11, std::nullopt, false, false, BackendKind::X11Root},
        {lxde, x11, DesktopWindow{"xfdesktop"}, false, false, BackendKind::Xfce},
        {lxqt, wayland, std::nullopt, false, false, BackendKind::Lxqt},
        {portal, wayland, std::nullopt, true, true, BackendKind::Portal},
        {portal, wayland, std::nullopt, false, true, BackendKind::Swaybg},
        {portal, wayland, std::nullopt, false, false, BackendKind::None},
        {BackendChoice{BackendKind::Gnome, "GNOME"}, x11, DesktopWindow{"pcmanfm"}, false, false, BackendKind::Gnome},
    };
    for (const Probe& p : probes) {
        const SessionProbes session{[&] { return p.window; }, [&] { return p.portal; },
                                    [&](const std::string& program) { return program == "swaybg" && p.swaybg; }};
        const BackendChoice refined = refineChoice(p.choice, p.environment, session);
        const std::string trace = backendName(p.choice.kind) + " " + (p.window ? p.window->program : "-");
        EXPECT_EQ(backendName(refined.kind), backendName(p.expected)) << trace;
        EXPECT_FALSE(refined.reason.empty()) << trace;
    }
}

TEST(WallpaperFactory, NoDesktopGivesABackendThatSaysWhy) {
    const auto backend = createBackend({BackendKind::None, "没有图形会话"});
    EXPECT_EQ(backend->name(), "none");
    try {
        backend->SetWallpaper("/tmp/Mix.bmp");
        FAIL() << "no error";
    } catch (const WallpaperError& error) {
        EXPECT_EQ(error.cause(), "没有图形会话");
    }
    EXPECT_EQ(createBackend({BackendKind::Windows, ""})->name(), "none");
    EXPECT_EQ(createBackend({BackendKind::Gnome, ""})->name(), "gnome");
    EXPECT_EQ(createBackend({BackendKind::Lxqt, ""})->name(), "lxqt");
    EXPECT_EQ(createBackend({BackendKind::Swaybg, ""})->name(), "swaybg");
}

}  // namespace
}  // namespace tavlo::wallpaper
