#include "WallpaperFactory.h"

#if defined(_WIN32)
#include "WindowsWallpaper.h"
#else
#include "GSettingsWallpaper.h"
#include "PlasmaWallpaper.h"
#include "SwayWallpaper.h"
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
        throw WallpaperError("cannot set the wallpaper: " + reason_);
    }

private:
    std::string reason_;
};

#if !defined(_WIN32)
std::string environmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}
#endif

}  // namespace

BackendChoice chooseBackend() {
#if defined(_WIN32)
    return {BackendKind::Windows, "the Windows desktop"};
#else
    return chooseDesktopBackend(currentSessionEnvironment());
#endif
}

std::unique_ptr<WallpaperBackend> createBackend(const BackendChoice& choice) {
    switch (choice.kind) {
#if defined(_WIN32)
    case BackendKind::Windows: return std::make_unique<WindowsWallpaper>(systemDesktopCalls());
#else
    case BackendKind::Gnome: return std::make_unique<GSettingsWallpaper>(GSettingsLayout::gnome());
    case BackendKind::Cinnamon: return std::make_unique<GSettingsWallpaper>(GSettingsLayout::cinnamon());
    case BackendKind::Mate: return std::make_unique<GSettingsWallpaper>(GSettingsLayout::mate());
    case BackendKind::Kde: return std::make_unique<PlasmaWallpaper>();
    case BackendKind::Xfce: return std::make_unique<XfceWallpaper>();
    case BackendKind::Sway: return std::make_unique<SwayWallpaper>(environmentValue("SWAYSOCK"));
    case BackendKind::X11Root: return std::make_unique<X11RootWallpaper>();
#endif
    default: break;
    }
    const std::string reason = choice.kind == BackendKind::None
                                   ? choice.reason
                                   : "the " + backendName(choice.kind) + " desktop is not supported on this platform";
    return std::make_unique<UnavailableWallpaper>(reason);
}

std::unique_ptr<WallpaperBackend> createSessionBackend() {
    return createBackend(chooseBackend());
}

}  // namespace tavlo::wallpaper
