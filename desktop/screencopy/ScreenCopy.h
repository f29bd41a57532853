#pragma once
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace tavlo::screencopy {

// Why the screen could not be copied, as far as the user can act on it.
enum class ScreenCopyCause {
    Unreadable,           // the screen could not be read (no display, an error of the window system)
    NoPortal,             // no desktop portal on the session bus
    NoScreenshotService,  // the portal offers no screenshots (no backend for this desktop)
    ServiceFailed,        // the desktop's screenshot service did not start or could not take one
    NoAnswer,             // the service never answered
    Cancelled,            // the user (or the desktop on the user's behalf) cancelled
    Refused,              // the desktop refused
};

// The screen could not be copied. The text is one line for the log that
// names the mechanism and the cause in the developer's terms; the user is
// told the cause, and where a package would mend it, which.
class ScreenCopyError : public std::runtime_error {
public:
    explicit ScreenCopyError(const std::string& detail, ScreenCopyCause cause = ScreenCopyCause::Unreadable,
                             std::vector<std::string> packages = {})
        : std::runtime_error(detail), cause_(cause), packages_(std::move(packages)) {}

    ScreenCopyCause cause() const { return cause_; }
    // The Debian packages that would bring the missing service; empty where
    // no package would help.
    const std::vector<std::string>& packages() const { return packages_; }

private:
    ScreenCopyCause cause_;
    std::vector<std::string> packages_;
};

// A still of the screen in physical pixels: rows top-down, each pixel
// 0xFFRRGGBB (the layout of QImage::Format_RGB32 and of a 32-bit DIB).
struct ScreenPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    std::uint32_t pixel(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
    }
};

// The screen to copy as the toolkit sees it, in window pixels: the primary
// screen's size (from (0, 0)), the toolkit's physical pixels per window pixel,
// and the extent of the whole desktop, every screen together.
struct ScreenLayout {
    int width = 0;
    int height = 0;
    double ratio = 1;
    int desktopLeft = 0;
    int desktopTop = 0;
    int desktopWidth = 0;
    int desktopHeight = 0;
};

// A still of the primary screen and how many of its pixels make one window
// pixel. Under a compositor that ratio is the desktop's own, which the
// toolkit may not know: an X11 program in a Wayland session sees a screen of
// window pixels, and a toolkit without fractional scales rounds 1.5 up to 2.
struct ScreenStill {
    ScreenPicture picture;
    double ratio = 1;
};

// One way of copying the screen's pixels.
class ScreenCopy {
public:
    // How a grab ends: with the still, or with the error that says why there
    // is none.
    using Taken = std::function<void(ScreenStill)>;
    using Failed = std::function<void(ScreenCopyError)>;

    virtual ~ScreenCopy() = default;

    // Short name of the mechanism ("x11", "portal", ...).
    virtual std::string name() const = 0;

    // Takes a still of the primary screen from (0, 0) at its physical pixels
    // and ends by calling `taken` or `failed`, exactly one of them, once. A
    // mechanism that reads the pixels at once calls it before returning (as
    // does one that fails before it can ask); one that must ask the desktop
    // returns at once and calls it from the event loop when the answer comes,
    // never waiting for it. Destroying the copy drops a grab that has not
    // ended: neither is called.
    virtual void grab(const ScreenLayout& layout, Taken taken, Failed failed) = 0;
};

// A mechanism that reads the screen's pixels at once (the window system's
// own copy, a fixed picture): each grab ends before it returns.
class ImmediateScreenCopy : public ScreenCopy {
public:
    // copyPrimaryScreen, handing the still or its error on.
    void grab(const ScreenLayout& layout, Taken taken, Failed failed) override;

    // The area from the screen's top-left corner (0, 0) over width × height
    // physical pixels. Parts of the area that lie off the screen are black.
    // Throws ScreenCopyError.
    virtual ScreenPicture CopyScreen(int width, int height) = 0;

    // The primary screen from (0, 0) at its physical pixels. By default the
    // toolkit's size and ratio tell how many: CopyScreen of the screen's size
    // times the ratio. Throws ScreenCopyError.
    virtual ScreenStill copyPrimaryScreen(const ScreenLayout& layout);
};

// The primary screen cut out of a picture of the whole desktop taken at the
// desktop's own scale (a compositor's screenshot): the picture's width over
// the desktop's width in window pixels is that scale. Throws ScreenCopyError
// for a picture or layout that says nothing of the scale.
ScreenStill primaryScreenOfDesktop(const ScreenPicture& desktop, const ScreenLayout& layout);

// The part of `source` from (left, top) over width × height; black where it
// lies off the source. Throws ScreenCopyError for a size no screen has.
ScreenPicture cropAt(const ScreenPicture& source, int left, int top, int width, int height);
inline ScreenPicture cropFromOrigin(const ScreenPicture& source, int width, int height) {
    return cropAt(source, 0, 0, width, height);
}

// An empty (black) picture of width × height; throws ScreenCopyError for a
// size no screen has.
ScreenPicture blackPicture(int width, int height);

}  // namespace tavlo::screencopy
