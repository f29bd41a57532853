#pragma once
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace tavlo::screencopy {

// The screen could not be copied. The text is one line that names the
// mechanism and the cause, fit to be shown to the user as it stands.
class ScreenCopyError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
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

// One way of copying the screen's pixels.
class ScreenCopy {
public:
    virtual ~ScreenCopy() = default;

    // Short name of the mechanism ("x11", "portal", ...).
    virtual std::string name() const = 0;

    // The area from the screen's top-left corner (0, 0) over width × height
    // physical pixels. Parts of the area that lie off the screen are black.
    // Throws ScreenCopyError.
    virtual ScreenPicture CopyScreen(int width, int height) = 0;
};

// The part of `source` from (0, 0) over width × height; black where the
// source is smaller. Throws ScreenCopyError for a size no screen has.
ScreenPicture cropFromOrigin(const ScreenPicture& source, int width, int height);

// An empty (black) picture of width × height; throws ScreenCopyError for a
// size no screen has.
ScreenPicture blackPicture(int width, int height);

}  // namespace tavlo::screencopy
