#pragma once
#include "Bitmap.h"

#include <QImage>

namespace tavlo::widgets {

// A bitmap of any pixel format as a 24-bit QImage (Format_BGR888); an empty
// bitmap gives a null image.
QImage toQImage(const tavlo::imaging::Bitmap& bitmap);

// A QImage as a 24-bit blue-green-red bitmap; transparent and translucent
// pixels are drawn over white.
tavlo::imaging::Bitmap fromQImage(const QImage& image);

}  // namespace tavlo::widgets
