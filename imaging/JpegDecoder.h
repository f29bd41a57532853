#pragma once
#include "Bitmap.h"

#include <cstdint>
#include <functional>
#include <span>

namespace tavlo::imaging {

// Decodes a JPEG row by row, top to bottom, as 24-bit blue-green-red:
// `begin(width, height)` once, then `row(y, pixels)` for every row. Gray,
// YCbCr, RGB and CMYK/YCCK (Adobe inverted or not) pictures are accepted.
void decodeJpegRows(std::span<const std::uint8_t> bytes, const std::function<void(int, int)>& begin,
                    const std::function<void(int, const std::uint8_t*)>& row);

Bitmap decodeJpeg(std::span<const std::uint8_t> bytes);

}  // namespace tavlo::imaging
