// Before Xlib, whose None macro would clash with BackendKind::None.
#include "WallpaperTexts.h"

#include "PixelChannels.h"
#include "Resample.h"
#include "WallpaperBackend.h"
#include "X11ScreenImage.h"

#include <X11/Xutil.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace tavlo::wallpaper {
namespace {

XImagePtr emptyImage(Display* display, Visual* visual, int depth, int width, int height) {
    XImagePtr image(XCreateImage(display, visual, static_cast<unsigned>(depth), ZPixmap, 0, nullptr,
                                 static_cast<unsigned>(width), static_cast<unsigned>(height), 32, 0));
    if (!image) throw WallpaperError(texts::noMemoryForScreen(), "x11: cannot create an image of the screen's size");
    const std::size_t bytes = static_cast<std::size_t>(image->bytes_per_line) * static_cast<std::size_t>(height);
    image->data = static_cast<char*>(std::malloc(bytes));  // XDestroyImage frees it
    if (!image->data)
        throw WallpaperError(texts::noMemoryForScreen(), "x11: not enough memory for an image of the screen's size");
    return image;
}

}  // namespace

XImagePtr stretchedScreenImage(Display* display, Visual* visual, int depth, const imaging::Bitmap& picture, int width,
                               int height) {
    if (visual->c_class != TrueColor && visual->c_class != DirectColor)
        throw WallpaperError(texts::noTrueColour(), "x11: the screen has no true-colour visual");
    XImagePtr image = emptyImage(display, visual, depth, width, height);
    const imaging::Channel red(static_cast<std::uint32_t>(visual->red_mask)),
        green(static_cast<std::uint32_t>(visual->green_mask)), blue(static_cast<std::uint32_t>(visual->blue_mask));
    const bool direct = x11::isNative32(*image);

    imaging::Resampler scaled(picture, width, height);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(width) * 3);
    for (int y = 0; y < height; ++y) {
        scaled.row(y, row.data());
        auto* target =
            reinterpret_cast<std::uint32_t*>(image->data + static_cast<std::ptrdiff_t>(y) * image->bytes_per_line);
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* bgr = row.data() + 3 * x;
            const std::uint32_t pixel = blue.insert(bgr[0]) | green.insert(bgr[1]) | red.insert(bgr[2]);
            if (direct)
                target[x] = pixel;
            else
                XPutPixel(image.get(), x, y, pixel);
        }
    }
    return image;
}

}  // namespace tavlo::wallpaper
