#pragma once
#include "Bitmap.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <memory>

namespace tavlo::wallpaper {

struct XImageDestroyer {
    void operator()(XImage* image) const { XDestroyImage(image); }
};
using XImagePtr = std::unique_ptr<XImage, XImageDestroyer>;

// `picture` (24-bit blue-green-red) stretched to width × height by nearest
// neighbour, in the pixel layout of `visual` at `depth`. The visual must be
// TrueColor or DirectColor; throws WallpaperError otherwise.
XImagePtr stretchedScreenImage(Display* display, Visual* visual, int depth, const imaging::Bitmap& picture, int width,
                               int height);

}  // namespace tavlo::wallpaper
