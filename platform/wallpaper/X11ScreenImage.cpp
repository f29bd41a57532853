#include "X11ScreenImage.h"
#include "WallpaperBackend.h"

#include <X11/Xutil.h>

#include <bit>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace tavlo::wallpaper {
namespace {

// Places an 8-bit channel value into the bits of `mask`, scaled to its width.
struct Channel {
    explicit Channel(unsigned long mask) : shift(mask ? std::countr_zero(mask) : 0), maximum(mask >> shift) {}

    unsigned long place(std::uint8_t value) const { return ((value * maximum + 127) / 255) << shift; }

    int shift;
    unsigned long maximum;
};

// For each target coordinate, the source coordinate whose pixel covers its centre.
std::vector<int> nearestSource(int sourceSize, int targetSize) {
    std::vector<int> map(static_cast<std::size_t>(targetSize));
    for (int t = 0; t < targetSize; ++t)
        map[static_cast<std::size_t>(t)] = static_cast<int>((2 * static_cast<std::int64_t>(t) + 1) * sourceSize /
                                                            (2 * static_cast<std::int64_t>(targetSize)));
    return map;
}

XImagePtr emptyImage(Display* display, Visual* visual, int depth, int width, int height) {
    XImagePtr image(XCreateImage(display, visual, static_cast<unsigned>(depth), ZPixmap, 0, nullptr,
                                 static_cast<unsigned>(width), static_cast<unsigned>(height), 32, 0));
    if (!image) throw WallpaperError("x11: cannot create an image of the screen's size");
    const std::size_t bytes = static_cast<std::size_t>(image->bytes_per_line) * static_cast<std::size_t>(height);
    image->data = static_cast<char*>(std::malloc(bytes));  // XDestroyImage frees it
    if (!image->data) throw WallpaperError("x11: not enough memory for an image of the screen's size");
    return image;
}

bool isNative32(const XImage& image) {
    const int native = std::endian::native == std::endian::little ? LSBFirst : MSBFirst;
    return image.bits_per_pixel == 32 && image.byte_order == native;
}

}  // namespace

XImagePtr stretchedScreenImage(Display* display, Visual* visual, int depth, const imaging::Bitmap& picture, int width,
                               int height) {
    if (visual->c_class != TrueColor && visual->c_class != DirectColor)
        throw WallpaperError("x11: the screen has no true-colour visual");
    XImagePtr image = emptyImage(display, visual, depth, width, height);
    const Channel red(visual->red_mask), green(visual->green_mask), blue(visual->blue_mask);
    const std::vector<int> sourceX = nearestSource(picture.width(), width);
    const std::vector<int> sourceY = nearestSource(picture.height(), height);
    const bool direct = isNative32(*image);

    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = picture.row(sourceY[static_cast<std::size_t>(y)]);
        auto* target =
            reinterpret_cast<std::uint32_t*>(image->data + static_cast<std::ptrdiff_t>(y) * image->bytes_per_line);
        for (int x = 0; x < width; ++x) {
            const std::uint8_t* bgr = row + 3 * sourceX[static_cast<std::size_t>(x)];
            const unsigned long pixel = blue.place(bgr[0]) | green.place(bgr[1]) | red.place(bgr[2]);
            if (direct)
                target[x] = static_cast<std::uint32_t>(pixel);
            else
                XPutPixel(image.get(), x, y, pixel);
        }
    }
    return image;
}

}  // namespace tavlo::wallpaper
