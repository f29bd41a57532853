#include "X11RootWallpaper.h"
#include "Picture.h"
#include "WallpaperTexts.h"
#include "X11DesktopWindow.h"
#include "X11ScreenImage.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <functional>
#include <optional>
#include <vector>

namespace tavlo::wallpaper {
namespace {

using x11::DisplayPtr;
using x11::ErrorTrap;

imaging::Bitmap readPicture(const std::filesystem::path& path) {
    try {
        return imaging::toBgr24(imaging::loadPicture(path));
    } catch (const std::exception& error) {
        throw WallpaperError(texts::pictureUnreadable(), std::string("x11: cannot read the picture: ") + error.what());
    }
}

std::string errorText(Display* display, int code) {
    char text[256] = {};
    XGetErrorText(display, code, text, sizeof(text));
    return text;
}

std::optional<Pixmap> pixmapProperty(Display* display, Window root, Atom property) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    const int status =
        XGetWindowProperty(display, root, property, 0, 1, False, XA_PIXMAP, &type, &format, &count, &remaining, &data);
    std::optional<Pixmap> result;
    if (status == Success && type == XA_PIXMAP && format == 32 && count == 1) result = *reinterpret_cast<Pixmap*>(data);
    if (data) XFree(data);
    return result;
}

// A setter that announced its pixmap in ESETROOT_PMAP_ID kept it alive by
// leaving its connection's resources behind; ending that connection frees
// them. A pixmap that is not also in _XROOTPMAP_ID belongs to someone else.
void freePreviousPixmap(Display* display, Window root, Atom rootPixmap, Atom esetrootPixmap) {
    const std::optional<Pixmap> current = pixmapProperty(display, root, rootPixmap);
    const std::optional<Pixmap> kept = pixmapProperty(display, root, esetrootPixmap);
    if (current && kept && *current == *kept) {
        XKillClient(display, *kept);
        ErrorTrap::sync(display);  // already gone: nothing to free
    }
}

void announce(Display* display, Window root, Atom property, Pixmap pixmap) {
    XChangeProperty(display, root, property, XA_PIXMAP, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&pixmap), 1);
}

Pixmap newRootPixmap(Display* display, int screen) {
    return XCreatePixmap(display, RootWindow(display, screen), static_cast<unsigned>(DisplayWidth(display, screen)),
                         static_cast<unsigned>(DisplayHeight(display, screen)),
                         static_cast<unsigned>(DefaultDepth(display, screen)));
}

// `picture` scaled into the rectangle x, y, width × height of `pixmap`.
void paintInto(Display* display, int screen, Pixmap pixmap, const imaging::Bitmap& picture, int x, int y, int width,
               int height) {
    const XImagePtr image = stretchedScreenImage(display, DefaultVisual(display, screen), DefaultDepth(display, screen),
                                                 picture, width, height);
    GC gc = XCreateGC(display, pixmap, 0, nullptr);
    XPutImage(display, pixmap, gc, image.get(), 0, 0, x, y, static_cast<unsigned>(width),
              static_cast<unsigned>(height));
    XFreeGC(display, gc);
}

void fillBlack(Display* display, int screen, Pixmap pixmap) {
    GC gc = XCreateGC(display, pixmap, 0, nullptr);
    XSetForeground(display, gc, BlackPixel(display, screen));
    XFillRectangle(display, pixmap, gc, 0, 0, static_cast<unsigned>(DisplayWidth(display, screen)),
                   static_cast<unsigned>(DisplayHeight(display, screen)));
    XFreeGC(display, gc);
}

}  // namespace

// What goes on the new root pixmap, once the display is open.
struct X11RootWallpaper::Painting {
    std::function<void(Display*, int screen, Pixmap)> draw;
};

void X11RootWallpaper::SetWallpaper(const std::filesystem::path& path) {
    const imaging::Bitmap picture = readPicture(path);
    paint({[&](Display* display, int screen, Pixmap pixmap) {
        paintInto(display, screen, pixmap, picture, 0, 0, DisplayWidth(display, screen),
                  DisplayHeight(display, screen));
    }});
}

void X11RootWallpaper::SetMonitorWallpapers(const std::vector<MonitorPicture>& pictures) {
    std::vector<imaging::Bitmap> read;
    for (const MonitorPicture& picture : pictures) read.push_back(readPicture(picture.picture));
    paint({[&](Display* display, int screen, Pixmap pixmap) {
        fillBlack(display, screen, pixmap);
        const int screenWidth = DisplayWidth(display, screen), screenHeight = DisplayHeight(display, screen);
        for (std::size_t i = 0; i < pictures.size(); ++i) {
            const Monitor& m = pictures[i].monitor;
            // Only the part of a monitor inside the screen can be painted.
            if (m.x < 0 || m.y < 0 || m.x + m.width > screenWidth || m.y + m.height > screenHeight)
                throw WallpaperError(texts::onMonitor(m.name, texts::x11Refused()),
                                     "x11: monitor " + m.name + " lies outside the root window");
            paintInto(display, screen, pixmap, read[i], m.x, m.y, m.width, m.height);
        }
    }});
}

void X11RootWallpaper::paint(const Painting& painting) {
    // A connection of its own: its resources, the pixmap alone, are kept
    // when it closes, and ending it later frees exactly them.
    DisplayPtr display(XOpenDisplay(displayName_.empty() ? nullptr : displayName_.c_str()));
    const std::string name = displayName_.empty() ? XDisplayName(nullptr) : displayName_;
    if (!display) throw WallpaperError(texts::displayUnreachable(name), "x11: cannot open the X display " + name);
    Display* const dpy = display.get();
    // A desktop program's window hides the root: painting it would change
    // nothing the user sees.
    if (const std::optional<DesktopWindow> window = findDesktopWindow(dpy))
        throw WallpaperError(texts::rootCovered(window->program),
                             "x11: a desktop window of " + window->program + " covers the root window");
    ErrorTrap trap;
    const int screen = DefaultScreen(dpy);
    const Window root = RootWindow(dpy, screen);
    const Atom rootPixmap = XInternAtom(dpy, "_XROOTPMAP_ID", False);
    const Atom esetrootPixmap = XInternAtom(dpy, "ESETROOT_PMAP_ID", False);

    const Pixmap pixmap = newRootPixmap(dpy, screen);
    try {
        painting.draw(dpy, screen, pixmap);
    } catch (...) {
        XFreePixmap(dpy, pixmap);
        throw;
    }
    if (const int error = ErrorTrap::sync(dpy))
        throw WallpaperError(texts::x11Refused(), "x11: cannot paint the wallpaper pixmap: " + errorText(dpy, error));

    freePreviousPixmap(dpy, root, rootPixmap, esetrootPixmap);
    announce(dpy, root, rootPixmap, pixmap);
    announce(dpy, root, esetrootPixmap, pixmap);
    XSetWindowBackgroundPixmap(dpy, root, pixmap);
    XClearWindow(dpy, root);
    if (const int error = ErrorTrap::sync(dpy))
        throw WallpaperError(texts::x11Refused(),
                             "x11: cannot set the root window's background: " + errorText(dpy, error));
    XSetCloseDownMode(dpy, RetainPermanent);
    XSync(dpy, False);
}

}  // namespace tavlo::wallpaper
