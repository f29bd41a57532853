#pragma once
#include "Bitmap.h"
#include "RowSink.h"

#include <cstdint>
#include <span>

namespace tavlo::imaging {

// Decodes the first frame of a GIF, drawn on a white canvas of the GIF's full
// logical screen, as 24-bit blue-green-red. Transparent pixels stay white.
Bitmap decodeGif(std::span<const std::uint8_t> bytes);
// The canvas rows to a sink; a plain (not interlaced) frame is decoded only
// down to the last row wanted.
void decodeGif(std::span<const std::uint8_t> bytes, RowSink& sink);

}  // namespace tavlo::imaging
