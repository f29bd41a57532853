#include "WallpaperFactory.h"
#include "WallpaperTexts.h"

#if defined(_WIN32)
#include "WindowsWallpaper.h"
#else
#include "AlternatingWallpaper.h"
#include "DeepinWallpaper.h"
#include "DesktopCommand.h"
#include "GSettingsWallpaper.h"
#include "LoginRestore.h"
#include "PcmanfmWallpaper.h"
#include "PlasmaWallpaper.h"
#include "PortalWallpaper.h"
#include "ProgramFolder.h"
#include "SwayWallpaper.h"
#include "SwaybgWallpaper.h"
#include "WallpaperDaemon.h"
#include "X11DesktopWindow.h"
#include "X11RootWallpaper.h"
#include "XfceWallpaper.h"

#include <cstdlib>
#endif

namespace tavlo::wallpaper {
namespace {

// Stands where no mechanism can reach the desktop: says so on every call.
class UnavailableWallpaper : public WallpaperBackend {
public:
    explicit UnavailableWallpaper(std::string reason) : reason_(std::move(reason)) {}
    std::string name() const override { return "none"; }
    void SetWallpaper(const std::filesystem::path&) override {
        throw WallpaperError(reason_, "no wallpaper mechanism: " + reason_);
    }

private:
    std::string reason_;
};

#if !defined(_WIN32)
std::string environmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

SessionProbes sessionProbes(const SessionEnvironment& environment) {
    const auto display = environment.find("DISPLAY");
    const std::string displayName = display == environment.end() ? std::string() : display->second;
    return {
        [displayName]() -> std::optional<DesktopWindow> {
            if (displayName.empty()) return std::nullopt;
            return findDesktopWindow(displayName);
        },
        [] { return PortalWallpaper::available(); },
        [](const std::string& program) { return programInPath(program); },
    };
}

// Desktops that keep showing the picture they have while its path stays the same.
bool reloadsOnlyANewPath(BackendKind kind) {
    switch (kind) {
    case BackendKind::Gnome:
    case BackendKind::Cinnamon:
    case BackendKind::Mate:
    case BackendKind::Ukui:
    case BackendKind::Kde:
    case BackendKind::Xfce:
    case BackendKind::Lxqt:
    case BackendKind::Deepin:
    case BackendKind::Portal: return true;
    case BackendKind::Swaybg: return WallpaperDaemon::running() == WallpaperDaemon::Kind::Hyprpaper;
    default: return false;
    }
}
#endif

}  // namespace

BackendChoice chooseBackend() {
#if defined(_WIN32)
    return {BackendKind::Windows, texts::windowsDesktop()};
#else
    const SessionEnvironment environment = currentSessionEnvironment();
    return refineChoice(chooseDesktopBackend(environment), environment, sessionProbes(environment));
#endif
}

std::unique_ptr<WallpaperBackend> createBackend(const BackendChoice& choice) {
    switch (choice.kind) {
#if defined(_WIN32)
    case BackendKind::Windows: return std::make_unique<WindowsWallpaper>(systemDesktopCalls());
#else
    case BackendKind::Gnome: return std::make_unique<GSettingsWallpaper>(choice.kind, GSettingsLayout::gnome());
    case BackendKind::Cinnamon: return std::make_unique<GSettingsWallpaper>(choice.kind, GSettingsLayout::cinnamon());
    case BackendKind::Mate: return std::make_unique<GSettingsWallpaper>(choice.kind, GSettingsLayout::mate());
    // Newer UKUI reads its own schema, older UKUI desktops MATE's: both are
    // written where installed.
    case BackendKind::Ukui:
        return std::make_unique<GSettingsWallpaper>(
            choice.kind, std::vector<GSettingsLayout>{GSettingsLayout::ukui(), GSettingsLayout::mate()});
    case BackendKind::Kde: return std::make_unique<PlasmaWallpaper>();
    case BackendKind::Xfce: return std::make_unique<XfceWallpaper>();
    case BackendKind::Lxqt:
    case BackendKind::Lxde: return std::make_unique<PcmanfmWallpaper>(choice.kind);
    case BackendKind::Deepin: return std::make_unique<DeepinWallpaper>();
    case BackendKind::Sway: return std::make_unique<SwayWallpaper>(environmentValue("SWAYSOCK"));
    case BackendKind::Swaybg:
        // A wallpaper program the user runs already draws the background.
        if (const auto daemon = WallpaperDaemon::running()) return std::make_unique<WallpaperDaemon>(*daemon);
        return std::make_unique<SwaybgWallpaper>(environmentValue("WAYLAND_DISPLAY"),
                                                 environmentValue("XDG_RUNTIME_DIR"));
    case BackendKind::Portal: return std::make_unique<PortalWallpaper>();
    case BackendKind::X11Root: return std::make_unique<X11RootWallpaper>();
#endif
    default: break;
    }
    const std::string reason = choice.kind == BackendKind::None ? choice.reason : texts::notOnThisPlatform(choice.kind);
    return std::make_unique<UnavailableWallpaper>(reason);
}

std::unique_ptr<WallpaperBackend> createSessionBackend() {
    return createBackend(chooseBackend());
}

std::unique_ptr<WallpaperBackend> createProgramBackend(const BackendChoice& choice,
                                                       const std::filesystem::path& programFolder) {
    std::unique_ptr<WallpaperBackend> backend = createBackend(choice);
#if !defined(_WIN32)
    if (reloadsOnlyANewPath(choice.kind))
        backend =
            std::make_unique<AlternatingWallpaper>(std::move(backend), ProgramFolder(programFolder).backgroundFolder());
    if (choice.kind != BackendKind::None)
        backend = std::make_unique<RememberingWallpaper>(std::move(backend),
                                                         LoginRestorePaths::forProgramFolder(programFolder));
#else
    (void)programFolder;
#endif
    return backend;
}

std::unique_ptr<WallpaperBackend> createProgramBackend(const std::filesystem::path& programFolder) {
    return createProgramBackend(chooseBackend(), programFolder);
}

}  // namespace tavlo::wallpaper
