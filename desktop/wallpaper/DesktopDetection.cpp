#include "DesktopDetection.h"
#include "WallpaperTexts.h"

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
// the GNOME settings. Desktops that draw their own background and have no
// mechanism to reach from here map to None.
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
    DesktopName{"ukui", BackendKind::Ukui},
    DesktopName{"kde", BackendKind::Kde},
    DesktopName{"plasma", BackendKind::Kde},
    DesktopName{"plasmawayland", BackendKind::Kde},
    DesktopName{"plasmax11", BackendKind::Kde},
    DesktopName{"xfce", BackendKind::Xfce},
    DesktopName{"xfce4", BackendKind::Xfce},
    DesktopName{"xubuntu", BackendKind::Xfce},
    DesktopName{"lxqt", BackendKind::Lxqt},
    DesktopName{"lxde", BackendKind::Lxde},
    DesktopName{"lubuntu", BackendKind::Lxde},
    DesktopName{"deepin", BackendKind::Deepin},
    DesktopName{"dde", BackendKind::Deepin},
    DesktopName{"sway", BackendKind::Sway},
    DesktopName{"enlightenment", BackendKind::None},
    DesktopName{"trinity", BackendKind::None},
    DesktopName{"tde", BackendKind::None},
};

// Wayland compositors built on wlroots or offering its layer-shell, with no
// wallpaper interface of their own: a background client draws the picture.
constexpr std::array<std::string_view, 8> kBackgroundClientCompositors = {
    "hyprland", "wayfire", "labwc", "river", "niri", "dwl", "hikari", "qtile",
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

// Each name of a colon-separated list, most specific first, in turn.
template <class Visit>
void forEachName(const std::string& list, Visit visit) {
    std::string_view rest = list;
    while (!rest.empty()) {
        const std::size_t colon = rest.find(':');
        if (visit(rest.substr(0, colon))) return;
        rest = colon == std::string_view::npos ? std::string_view{} : rest.substr(colon + 1);
    }
}

std::optional<BackendKind> kindFromDesktopList(const std::string& list) {
    std::optional<BackendKind> kind;
    forEachName(list, [&](std::string_view name) { return (kind = desktopKind(name)).has_value(); });
    return kind;
}

// DESKTOP_SESSION is sometimes the path of the session file.
std::optional<BackendKind> kindFromSessionName(const std::string& name) {
    const std::size_t slash = name.find_last_of('/');
    return desktopKind(slash == std::string::npos ? name : name.substr(slash + 1));
}

BackendChoice named(const std::string& name, const std::string& value, BackendKind kind) {
    if (kind == BackendKind::None) return {kind, texts::drawsItsOwnBackground(name, value)};
    return {kind, texts::namedBy(name, value, kind)};
}

std::optional<BackendChoice> chooseByDesktopName(const SessionEnvironment& environment) {
    if (const std::string* list = variable(environment, "XDG_CURRENT_DESKTOP"))
        if (auto kind = kindFromDesktopList(*list)) return named("XDG_CURRENT_DESKTOP", *list, *kind);
    for (const char* name : {"XDG_SESSION_DESKTOP", "DESKTOP_SESSION"})
        if (const std::string* value = variable(environment, name))
            if (auto kind = kindFromSessionName(*value)) return named(name, *value, *kind);
    if (const std::string* full = variable(environment, "KDE_FULL_SESSION"); full && lowerCase(*full) == "true")
        return BackendChoice{BackendKind::Kde, texts::sessionVariable("KDE_FULL_SESSION", BackendKind::Kde)};
    if (variable(environment, "GNOME_DESKTOP_SESSION_ID"))
        return BackendChoice{BackendKind::Gnome,
                             texts::sessionVariable("GNOME_DESKTOP_SESSION_ID", BackendKind::Gnome)};
    if (variable(environment, "MATE_DESKTOP_SESSION_ID"))
        return BackendChoice{BackendKind::Mate, texts::sessionVariable("MATE_DESKTOP_SESSION_ID", BackendKind::Mate)};
    return std::nullopt;
}

bool isBackgroundClientCompositor(const std::string& list) {
    bool found = false;
    forEachName(list, [&](std::string_view name) {
        const std::string lower = lowerCase(name);
        found = std::find(kBackgroundClientCompositors.begin(), kBackgroundClientCompositors.end(), lower) !=
                kBackgroundClientCompositors.end();
        return found;
    });
    return found;
}

// Desktop programs that put a desktop window over the root, by WM_CLASS
// instance name.
struct DesktopProgram {
    std::string_view program;
    BackendKind kind;
};
constexpr std::array kDesktopPrograms = {
    DesktopProgram{"pcmanfm-qt", BackendKind::Lxqt},       DesktopProgram{"pcmanfm", BackendKind::Lxde},
    DesktopProgram{"xfdesktop", BackendKind::Xfce},        DesktopProgram{"caja", BackendKind::Mate},
    DesktopProgram{"nemo-desktop", BackendKind::Cinnamon}, DesktopProgram{"dde-desktop", BackendKind::Deepin},
    DesktopProgram{"peony-qt-desktop", BackendKind::Ukui}, DesktopProgram{"plasmashell", BackendKind::Kde},
    DesktopProgram{"nautilus", BackendKind::Gnome},
};

std::optional<BackendKind> kindOfDesktopProgram(const std::string& program) {
    for (const DesktopProgram& entry : kDesktopPrograms)
        if (entry.program == program) return entry.kind;
    return std::nullopt;
}

std::string desktopProgramOf(BackendKind kind) {
    return kind == BackendKind::Lxqt ? "pcmanfm-qt" : "pcmanfm";
}

bool isWayland(const SessionEnvironment& environment) {
    return variable(environment, "WAYLAND_DISPLAY") != nullptr;
}

// An X11 session: the root window may be what the screen shows.
BackendChoice checkDesktopWindow(const BackendChoice& choice, const SessionProbes& probes) {
    const std::optional<DesktopWindow> window = probes.desktopWindow ? probes.desktopWindow() : std::nullopt;
    if (!window) return choice;
    if (const auto kind = kindOfDesktopProgram(window->program))
        return {*kind, texts::desktopWindowOf(window->program, *kind)};
    return {BackendKind::None, texts::unknownDesktopWindow(window->program)};
}

BackendChoice checkPcmanfm(const BackendChoice& choice, const SessionProbes& probes) {
    const std::optional<DesktopWindow> window = probes.desktopWindow ? probes.desktopWindow() : std::nullopt;
    const std::string program = desktopProgramOf(choice.kind);
    if (window && window->program == program) return choice;
    if (window) return checkDesktopWindow(choice, probes);
    return {BackendKind::X11Root, texts::desktopProgramNotRunning(choice.reason, program)};
}

BackendChoice checkPortal(const BackendChoice& choice, const SessionProbes& probes) {
    if (probes.portalOffersWallpaper && probes.portalOffersWallpaper()) return choice;
    if (probes.programInstalled && probes.programInstalled("swaybg"))
        return {BackendKind::Swaybg, texts::noPortalUseSwaybg(choice.reason)};
    return {BackendKind::None, texts::nothingOnWayland(choice.reason)};
}

}  // namespace

std::string backendName(BackendKind kind) {
    switch (kind) {
    case BackendKind::Gnome: return "gnome";
    case BackendKind::Cinnamon: return "cinnamon";
    case BackendKind::Mate: return "mate";
    case BackendKind::Ukui: return "ukui";
    case BackendKind::Kde: return "kde";
    case BackendKind::Xfce: return "xfce";
    case BackendKind::Lxqt: return "lxqt";
    case BackendKind::Lxde: return "lxde";
    case BackendKind::Deepin: return "deepin";
    case BackendKind::Sway: return "sway";
    case BackendKind::Swaybg: return "swaybg";
    case BackendKind::Portal: return "portal";
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
        return {BackendKind::Sway, texts::swaySocket(*socket)};
    if (const std::string* wayland = variable(environment, "WAYLAND_DISPLAY")) {
        if (const std::string* list = variable(environment, "XDG_CURRENT_DESKTOP");
            list && isBackgroundClientCompositor(*list))
            return {BackendKind::Swaybg, texts::wlrootsCompositor(*list)};
        return {BackendKind::Portal, texts::unknownWayland(*wayland)};
    }
    if (const std::string* display = variable(environment, "DISPLAY"))
        return {BackendKind::X11Root, texts::x11Root(*display)};
    return {BackendKind::None, texts::noSession()};
}

BackendChoice refineChoice(BackendChoice choice, const SessionEnvironment& environment, const SessionProbes& probes) {
    switch (choice.kind) {
    case BackendKind::X11Root: return checkDesktopWindow(choice, probes);
    case BackendKind::Lxqt:
    case BackendKind::Lxde: return isWayland(environment) ? choice : checkPcmanfm(choice, probes);
    case BackendKind::Portal: return checkPortal(choice, probes);
    default: return choice;
    }
}

}  // namespace tavlo::wallpaper
