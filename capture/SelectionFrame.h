#pragma once
#include <QImage>
#include <QRect>
#include <QRegion>

namespace tavlo {

// The rectangle between two corners in either order, right and bottom edges
// excluded: (x1, y1)–(x2, y2) covers columns min..max−1 and rows min..max−1.
QRect normalisedSelection(int x1, int y1, int x2, int y2);

// Inverts every pixel of the outline of `rect`, `width` pixels thick inside
// it (each pixel once), in a Format_RGB32 picture, as a pen in inverting mode
// draws it: drawing it twice restores the picture. Parts outside the picture
// are skipped; an empty rectangle draws nothing.
void invertOutline(QImage& picture, const QRect& rect, int width = 1);

// The pixels invertOutline touches.
QRegion outlineRegion(const QRect& rect, int width = 1);

}  // namespace tavlo
