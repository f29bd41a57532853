#include "ScreenCopyFactory.h"

#if defined(_WIN32)
#include "WindowsScreenCopy.h"
#else
#include "PortalScreenCopy.h"
#include "X11ScreenCopy.h"

#include <cstdlib>
#include <string_view>
#endif

namespace tavlo::screencopy {
namespace {

// Stands where no mechanism can reach the screen: says so on every call.
class UnavailableScreenCopy : public ImmediateScreenCopy {
public:
    explicit UnavailableScreenCopy(std::string reason) : reason_(std::move(reason)) {}
    std::string name() const override { return "none"; }
    ScreenPicture CopyScreen(int, int) override { throw ScreenCopyError("cannot copy the screen: " + reason_); }

private:
    std::string reason_;
};

#if !defined(_WIN32)
bool environmentSet(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}

bool waylandSession() {
    const char* type = std::getenv("XDG_SESSION_TYPE");
    return environmentSet("WAYLAND_DISPLAY") || (type && std::string_view(type) == "wayland");
}
#endif

}  // namespace

std::unique_ptr<ScreenCopy> createSessionScreenCopy() {
#if defined(_WIN32)
    return std::make_unique<WindowsScreenCopy>();
#else
    // Under Wayland the X server (if any) only sees its own windows: only the
    // compositor, through the portal, can give the whole screen.
    if (waylandSession()) {
        const char* desktops = std::getenv("XDG_CURRENT_DESKTOP");
        return std::make_unique<PortalScreenCopy>(std::chrono::seconds(60), desktops ? desktops : "");
    }
    if (environmentSet("DISPLAY")) return std::make_unique<X11ScreenCopy>();
    return std::make_unique<UnavailableScreenCopy>("no X11 display and no Wayland session");
#endif
}

}  // namespace tavlo::screencopy
