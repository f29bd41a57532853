#pragma once
#include "Bitmap.h"
#include "PixelChannels.h"

#include <cstdint>

namespace tavlo {

// The part of a paste that lands on one target row: `contentBgr` (24-bit,
// `contentWidth` pixels) placed with its left edge at target column x.
// Pixels left or right of the target are dropped.
void pasteRow(imaging::PixelWriter& writer, std::uint8_t* targetRow, int targetWidth, const std::uint8_t* contentBgr,
              int contentWidth, int x);

// Pastes `content` opaquely onto `target` with its top-left pixel at (x, y):
// every covered target pixel takes the content's colour (converted to the
// target's format, the nearest palette colour for indexed targets); pixels
// outside the target are dropped and the target keeps its size.
void OverlayBitmap(const imaging::Bitmap& content, imaging::Bitmap& target, int x, int y);

}  // namespace tavlo
