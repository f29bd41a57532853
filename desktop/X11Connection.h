#pragma once
// What the X11 backends (wallpaper, screen copy) share: an owned connection
// and image, a trap that turns protocol errors into results, and the test
// for images whose pixels are plain native 32-bit words.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <bit>
#include <memory>

namespace tavlo::x11 {

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};
using DisplayPtr = std::unique_ptr<Display, DisplayCloser>;

struct ImageDestroyer {
    void operator()(XImage* image) const { XDestroyImage(image); }
};
using XImagePtr = std::unique_ptr<XImage, ImageDestroyer>;

// Xlib's default error handler ends the process. While a trap is alive,
// protocol errors are recorded instead, so that the caller can report them.
// Xlib's handler is a plain C function, hence the static record.
class ErrorTrap {
public:
    ErrorTrap() : previous_(XSetErrorHandler(&ErrorTrap::record)) { firstError_ = 0; }
    ~ErrorTrap() { XSetErrorHandler(previous_); }
    ErrorTrap(const ErrorTrap&) = delete;
    ErrorTrap& operator=(const ErrorTrap&) = delete;

    // Waits until the server has handled every request sent so far and
    // returns the first error code (0 = none), forgetting it.
    static int sync(Display* display) {
        XSync(display, False);
        const int error = firstError_;
        firstError_ = 0;
        return error;
    }

private:
    static int record(Display*, XErrorEvent* event) {
        if (firstError_ == 0) firstError_ = event->error_code;
        return 0;
    }

    static inline int firstError_ = 0;
    XErrorHandler previous_;
};

inline bool isNative32(const XImage& image) {
    const int native = std::endian::native == std::endian::little ? LSBFirst : MSBFirst;
    return image.bits_per_pixel == 32 && image.byte_order == native;
}

}  // namespace tavlo::x11
