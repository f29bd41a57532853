#pragma once
#include "Bitmap.h"
#include "FitMode.h"

namespace tavlo {

// `background` (24-bit) laid on a width × height picture as `mode` lays it.
// Scaling is smooth (area averaging where it shrinks); where the background
// leaves room, the room takes the mean colour of the edge beside it.
imaging::Bitmap fitBackground(const imaging::Bitmap& background, int width, int height, FitMode mode);

}  // namespace tavlo
