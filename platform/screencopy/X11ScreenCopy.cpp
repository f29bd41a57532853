#include "X11ScreenCopy.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <bit>
#include <memory>

namespace tavlo::screencopy {
namespace {

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};
struct ImageDestroyer {
    void operator()(XImage* image) const { XDestroyImage(image); }
};

// Widens the bits of `mask` in a pixel to an 8-bit channel value.
struct Channel {
    explicit Channel(unsigned long mask) : shift(mask ? std::countr_zero(mask) : 0), maximum(mask >> shift) {}

    std::uint32_t value(unsigned long pixel) const {
        if (maximum == 0) return 0;
        return static_cast<std::uint32_t>((((pixel >> shift) & maximum) * 255 + maximum / 2) / maximum);
    }

    int shift;
    unsigned long maximum;
};

// Xlib's default error handler ends the process; a failed request here must
// only fail the copy. Installed for the copy's duration.
int requestFailed = 0;
int recordError(Display*, XErrorEvent* event) {
    requestFailed = event->error_code;
    return 0;
}

class ErrorTrap {
public:
    ErrorTrap() : previous_(XSetErrorHandler(recordError)) { requestFailed = 0; }
    ~ErrorTrap() { XSetErrorHandler(previous_); }
    ErrorTrap(const ErrorTrap&) = delete;
    ErrorTrap& operator=(const ErrorTrap&) = delete;

private:
    int (*previous_)(Display*, XErrorEvent*);
};

bool isNative32(const XImage& image) {
    const int native = std::endian::native == std::endian::little ? LSBFirst : MSBFirst;
    return image.bits_per_pixel == 32 && image.byte_order == native;
}

void convertRows(const XImage& image, const Visual& visual, ScreenPicture& picture, int columns, int rows) {
    const Channel red(visual.red_mask), green(visual.green_mask), blue(visual.blue_mask);
    const bool plain888 =
        isNative32(image) && visual.red_mask == 0xFF0000 && visual.green_mask == 0xFF00 && visual.blue_mask == 0xFF;
    for (int y = 0; y < rows; ++y) {
        std::uint32_t* target = picture.pixels.data() + static_cast<std::ptrdiff_t>(y) * picture.width;
        if (plain888) {
            const auto* source = reinterpret_cast<const std::uint32_t*>(image.data + static_cast<std::ptrdiff_t>(y) *
                                                                                         image.bytes_per_line);
            for (int x = 0; x < columns; ++x) target[x] = 0xFF000000u | source[x];
            continue;
        }
        for (int x = 0; x < columns; ++x) {
            const unsigned long pixel = XGetPixel(const_cast<XImage*>(&image), x, y);
            target[x] = 0xFF000000u | red.value(pixel) << 16 | green.value(pixel) << 8 | blue.value(pixel);
        }
    }
}

}  // namespace

ScreenPicture X11ScreenCopy::CopyScreen(int width, int height) {
    ScreenPicture picture = blackPicture(width, height);
    std::unique_ptr<Display, DisplayCloser> display(XOpenDisplay(display_.empty() ? nullptr : display_.c_str()));
    if (!display) throw ScreenCopyError("x11: cannot open the display " + display_);
    const int screen = DefaultScreen(display.get());
    Visual* visual = DefaultVisual(display.get(), screen);
    if (visual->c_class != TrueColor && visual->c_class != DirectColor)
        throw ScreenCopyError("x11: the screen has no true-colour visual");

    // Asking for more than the root window has is an error: copy what exists.
    const int columns = std::min(width, DisplayWidth(display.get(), screen));
    const int rows = std::min(height, DisplayHeight(display.get(), screen));
    ErrorTrap trap;
    std::unique_ptr<XImage, ImageDestroyer> image(XGetImage(display.get(), RootWindow(display.get(), screen), 0, 0,
                                                            static_cast<unsigned>(columns), static_cast<unsigned>(rows),
                                                            AllPlanes, ZPixmap));
    XSync(display.get(), False);
    if (!image || requestFailed)
        throw ScreenCopyError("x11: the root window could not be read (X error " + std::to_string(requestFailed) + ")");
    convertRows(*image, *visual, picture, columns, rows);
    return picture;
}

}  // namespace tavlo::screencopy
