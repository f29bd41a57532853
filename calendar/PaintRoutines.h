#pragma once
// The calendar's pixel routines: a banded vertical gradient, fitting a
// picture into a box, and blending a picture over a background.
#include <QColor>
#include <QImage>
#include <QRect>

class QPainter;

namespace tavlo::calendar {

// `steps` bands from top to bottom; band k has start + round(k × (end −
// start) / steps) per channel and spans round((k − 1) × h / steps) up to
// round(k × h / steps), rounding halves to even.
void FillGradient(QPainter& canvas, const QRect& rect, int steps, const QColor& start, const QColor& end);

// The largest rectangle of the picture's aspect ratio inside bw × bh (sizes
// truncated), at (0, 0) or centred. The picture must not be empty.
QRect FitPictureRect(int pw, int ph, int bw, int bh, bool centre);

// Mixes `picture` into `back` at alpha mod 100 percent; pixels of the
// picture's top-left colour leave the background untouched. Both images
// have the same size and are 32-bit RGB.
void BlendPicture(QImage& back, const QImage& picture, int alpha);

}  // namespace tavlo::calendar
