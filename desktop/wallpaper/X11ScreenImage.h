#pragma once
#include "Bitmap.h"
#include "X11Connection.h"

namespace tavlo::wallpaper {

using x11::XImagePtr;

// `picture` (24-bit blue-green-red) scaled smoothly to width × height, in the
// pixel layout of `visual` at `depth`. The visual must be TrueColor or
// DirectColor; throws WallpaperError otherwise.
XImagePtr stretchedScreenImage(Display* display, Visual* visual, int depth, const imaging::Bitmap& picture, int width,
                               int height);

}  // namespace tavlo::wallpaper
