#include "X11DesktopWindow.h"
#include "X11Connection.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

namespace tavlo::wallpaper {
namespace {

struct Atoms {
    Atom type, desktop;
};

bool viewable(Display* display, Window window) {
    XWindowAttributes attributes{};
    return XGetWindowAttributes(display, window, &attributes) && attributes.map_state == IsViewable;
}

bool isDesktopType(Display* display, Window window, const Atoms& atoms) {
    Atom actual = None;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(display, window, atoms.type, 0, 16, False, XA_ATOM, &actual, &format, &count,
                                          &remaining, &data);
    bool desktop = false;
    if (status == Success && actual == XA_ATOM && format == 32)
        for (unsigned long i = 0; i < count && !desktop; ++i)
            desktop = reinterpret_cast<const Atom*>(data)[i] == atoms.desktop;
    if (data) XFree(data);
    return desktop;
}

std::string programOf(Display* display, Window window) {
    XClassHint hint{};
    if (!XGetClassHint(display, window, &hint)) return "?";
    std::string program = hint.res_name && *hint.res_name ? hint.res_name : (hint.res_class ? hint.res_class : "?");
    if (hint.res_name) XFree(hint.res_name);
    if (hint.res_class) XFree(hint.res_class);
    return program;
}

std::optional<DesktopWindow> searchChildren(Display* display, Window parent, const Atoms& atoms, int depth) {
    Window root = 0, ignored = 0, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, parent, &root, &ignored, &children, &count)) return std::nullopt;
    std::optional<DesktopWindow> found;
    for (unsigned int i = 0; i < count && !found; ++i) {
        const Window child = children[i];
        if (!viewable(display, child)) continue;
        if (isDesktopType(display, child, atoms))
            found = DesktopWindow{programOf(display, child)};
        else if (depth > 0)
            found = searchChildren(display, child, atoms, depth - 1);
    }
    if (children) XFree(children);
    return found;
}

}  // namespace

std::optional<DesktopWindow> findDesktopWindow(Display* display) {
    // Windows may vanish while they are looked at; that is no failure.
    x11::ErrorTrap trap;
    const Atoms atoms{XInternAtom(display, "_NET_WM_WINDOW_TYPE", False),
                      XInternAtom(display, "_NET_WM_WINDOW_TYPE_DESKTOP", False)};
    std::optional<DesktopWindow> found = searchChildren(display, DefaultRootWindow(display), atoms, 1);
    x11::ErrorTrap::sync(display);
    return found;
}

std::optional<DesktopWindow> findDesktopWindow(const std::string& displayName) {
    const x11::DisplayPtr display(XOpenDisplay(displayName.empty() ? nullptr : displayName.c_str()));
    if (!display) return std::nullopt;
    return findDesktopWindow(display.get());
}

}  // namespace tavlo::wallpaper
