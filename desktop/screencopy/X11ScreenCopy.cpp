#include "X11ScreenCopy.h"

#include "PixelChannels.h"
#include "X11Connection.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>

namespace tavlo::screencopy {
namespace {

void convertRows(const XImage& image, const Visual& visual, ScreenPicture& picture, int columns, int rows) {
    const imaging::Channel red(static_cast<std::uint32_t>(visual.red_mask)),
        green(static_cast<std::uint32_t>(visual.green_mask)), blue(static_cast<std::uint32_t>(visual.blue_mask));
    const bool plain888 = x11::isNative32(image) && visual.red_mask == 0xFF0000 && visual.green_mask == 0xFF00 &&
                          visual.blue_mask == 0xFF;
    for (int y = 0; y < rows; ++y) {
        std::uint32_t* target = picture.pixels.data() + static_cast<std::ptrdiff_t>(y) * picture.width;
        if (plain888) {
            const auto* source = reinterpret_cast<const std::uint32_t*>(image.data + static_cast<std::ptrdiff_t>(y) *
                                                                                         image.bytes_per_line);
            for (int x = 0; x < columns; ++x) target[x] = 0xFF000000u | source[x];
            continue;
        }
        for (int x = 0; x < columns; ++x) {
            const auto pixel = static_cast<std::uint32_t>(XGetPixel(const_cast<XImage*>(&image), x, y));
            target[x] = 0xFF000000u | std::uint32_t{red.extract(pixel)} << 16 |
                        std::uint32_t{green.extract(pixel)} << 8 | blue.extract(pixel);
        }
    }
}

}  // namespace

ScreenPicture X11ScreenCopy::CopyScreen(int width, int height) {
    ScreenPicture picture = blackPicture(width, height);
    x11::DisplayPtr display(XOpenDisplay(display_.empty() ? nullptr : display_.c_str()));
    if (!display) throw ScreenCopyError("x11: cannot open the display " + display_);
    const int screen = DefaultScreen(display.get());
    Visual* visual = DefaultVisual(display.get(), screen);
    if (visual->c_class != TrueColor && visual->c_class != DirectColor)
        throw ScreenCopyError("x11: the screen has no true-colour visual");

    // Asking for more than the root window has is an error: copy what exists.
    const int columns = std::min(width, DisplayWidth(display.get(), screen));
    const int rows = std::min(height, DisplayHeight(display.get(), screen));
    x11::ErrorTrap trap;
    const x11::XImagePtr image(XGetImage(display.get(), RootWindow(display.get(), screen), 0, 0,
                                         static_cast<unsigned>(columns), static_cast<unsigned>(rows), AllPlanes,
                                         ZPixmap));
    const int error = x11::ErrorTrap::sync(display.get());
    if (!image || error)
        throw ScreenCopyError("x11: the root window could not be read (X error " + std::to_string(error) + ")");
    convertRows(*image, *visual, picture, columns, rows);
    return picture;
}

}  // namespace tavlo::screencopy
