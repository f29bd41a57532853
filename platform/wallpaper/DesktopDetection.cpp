#include "DesktopDetection.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <optional>
#include <string_view>

namespace tavlo::wallpaper {
namespace {

constexpr std::array kSessionVariables = {
    "XDG_CURRENT_DESKTOP",
    "XDG_SESSION_DESKTOP",
    "DESKTOP_SESSION",
    "KDE_FULL_SESSION",
    "GNOME_DESKTOP_SESSION_ID",
    "MATE_DESKTOP_SESSION_ID",
    "SWAYSOCK",
    "WAYLAND_DISPLAY",
    "DISPLAY",
};

struct DesktopName {
    std::string_view name;  // lower case
    BackendKind kind;
};

// Names that desktops put into XDG_CURRENT_DESKTOP, XDG_SESSION_DESKTOP and
// DESKTOP_SESSION. Ubuntu, Budgie, Pantheon and Unity keep their wallpaper in
// the GNOME settings.
constexpr std::array kDesktopNames = {
    DesktopName{"gnome", BackendKind::Gnome},
    DesktopName{"gnome-classic", BackendKind::Gnome},
    DesktopName{"gnome-flashback", BackendKind::Gnome},
    DesktopName{"gnome-xorg", BackendKind::Gnome},
    DesktopName{"ubuntu", BackendKind::Gnome},
    DesktopName{"ubuntu-xorg", BackendKind::Gnome},
    DesktopName{"unity", BackendKind::Gnome},
    DesktopName{"budgie", BackendKind::Gnome},
    DesktopName{"budgie-desktop", BackendKind::Gnome},
    DesktopName{"pantheon", BackendKind::Gnome},
    DesktopName{"x-cinnamon", BackendKind::Cinnamon},
    DesktopName{"cinnamon", BackendKind::Cinnamon},
    DesktopName{"cinnamon2d", BackendKind::Cinnamon},
    DesktopName{"mate", BackendKind::Mate},
    DesktopName{"kde", BackendKind::Kde},
    DesktopName{"plasma", BackendKind::Kde},
    DesktopName{"plasmawayland", BackendKind::Kde},
    DesktopName{"plasmax11", BackendKind::Kde},
    DesktopName{"xfce", BackendKind::Xfce},
    DesktopName{"xfce4", BackendKind::Xfce},
    DesktopName{"xubuntu", BackendKind::Xfce},
    DesktopName{"sway", BackendKind::Sway},
};

std::string lowerCase(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    return result;
}

std::optional<BackendKind> desktopKind(std::string_view name) {
    const std::string lower = lowerCase(name);
    for (const DesktopName& entry : kDesktopNames)
        if (entry.name == lower) return entry.kind;
    return std::nullopt;
}

const std::string* variable(const SessionEnvironment& environment, const std::string& name) {
    const auto found = environment.find(name);
    return found == environment.end() || found->second.empty() ? nullptr : &found->second;
}

// XDG_CURRENT_DESKTOP is a colon-separated list, most specific name first.
std::optional<BackendKind> kindFromDesktopList(const std::string& list) {
    std::string_view rest = list;
    while (!rest.empty()) {
        const std::size_t colon = rest.find(':');
        if (auto kind = desktopKind(rest.substr(0, colon))) return kind;
        rest = colon == std::string_view::npos ? std::string_view{} : rest.substr(colon + 1);
    }
    return std::nullopt;
}

// DESKTOP_SESSION is sometimes the path of the session file.
std::optional<BackendKind> kindFromSessionName(const std::string& name) {
    const std::size_t slash = name.find_last_of('/');
    return desktopKind(slash == std::string::npos ? name : name.substr(slash + 1));
}

std::string names(const std::string& name, const std::string& value, BackendKind kind) {
    return name + "=" + value + " names a " + backendName(kind) + " desktop";
}

std::optional<BackendChoice> chooseByDesktopName(const SessionEnvironment& environment) {
    if (const std::string* list = variable(environment, "XDG_CURRENT_DESKTOP"))
        if (auto kind = kindFromDesktopList(*list))
            return BackendChoice{*kind, names("XDG_CURRENT_DESKTOP", *list, *kind)};
    for (const char* name : {"XDG_SESSION_DESKTOP", "DESKTOP_SESSION"})
        if (const std::string* value = variable(environment, name))
            if (auto kind = kindFromSessionName(*value)) return BackendChoice{*kind, names(name, *value, *kind)};
    if (const std::string* full = variable(environment, "KDE_FULL_SESSION"); full && lowerCase(*full) == "true")
        return BackendChoice{BackendKind::Kde, "KDE_FULL_SESSION=true marks a kde session"};
    if (variable(environment, "GNOME_DESKTOP_SESSION_ID"))
        return BackendChoice{BackendKind::Gnome, "GNOME_DESKTOP_SESSION_ID is set"};
    if (variable(environment, "MATE_DESKTOP_SESSION_ID"))
        return BackendChoice{BackendKind::Mate, "MATE_DESKTOP_SESSION_ID is set"};
    return std::nullopt;
}

}  // namespace

std::string backendName(BackendKind kind) {
    switch (kind) {
    case BackendKind::Gnome: return "gnome";
    case BackendKind::Cinnamon: return "cinnamon";
    case BackendKind::Mate: return "mate";
    case BackendKind::Kde: return "kde";
    case BackendKind::Xfce: return "xfce";
    case BackendKind::Sway: return "sway";
    case BackendKind::X11Root: return "x11";
    case BackendKind::Windows: return "windows";
    case BackendKind::None: return "none";
    }
    return "none";
}

SessionEnvironment currentSessionEnvironment() {
    SessionEnvironment environment;
    for (const char* name : kSessionVariables)
        if (const char* value = std::getenv(name)) environment.emplace(name, value);
    return environment;
}

BackendChoice chooseDesktopBackend(const SessionEnvironment& environment) {
    if (auto choice = chooseByDesktopName(environment)) return *choice;
    if (const std::string* socket = variable(environment, "SWAYSOCK"))
        return {BackendKind::Sway, "SWAYSOCK=" + *socket + " offers the sway IPC"};
    if (const std::string* wayland = variable(environment, "WAYLAND_DISPLAY"))
        return {BackendKind::None,
                "WAYLAND_DISPLAY=" + *wayland + " is a Wayland compositor without a wallpaper interface known here"};
    if (const std::string* display = variable(environment, "DISPLAY"))
        return {BackendKind::X11Root, "DISPLAY=" + *display + " and no known desktop: painting the X11 root window"};
    return {BackendKind::None, "no desktop session: neither DISPLAY nor WAYLAND_DISPLAY is set"};
}

}  // namespace tavlo::wallpaper
