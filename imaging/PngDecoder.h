#pragma once
#include "Bitmap.h"
#include "RowSink.h"

#include <cstdint>
#include <span>

namespace tavlo::imaging {

// Decodes a PNG of any colour type and depth, interlaced or not, as 24-bit
// blue-green-red; transparent areas (alpha or tRNS) are drawn over white.
Bitmap decodePng(std::span<const std::uint8_t> bytes);
// The rows to a sink: a plain picture row by row, down to the last row
// wanted; an interlaced one is drawn on a canvas of the wanted part first.
void decodePng(std::span<const std::uint8_t> bytes, RowSink& sink);

}  // namespace tavlo::imaging
