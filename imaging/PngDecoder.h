#pragma once
#include "Bitmap.h"

#include <cstdint>
#include <span>

namespace tavlo::imaging {

// Decodes a PNG of any colour type and depth, interlaced or not, as 24-bit
// blue-green-red; transparent areas (alpha or tRNS) are drawn over white.
Bitmap decodePng(std::span<const std::uint8_t> bytes);

}  // namespace tavlo::imaging
