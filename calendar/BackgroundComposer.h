#pragma once
// The calendar's background, composed off screen once per change: white,
// an optional frame, the year and month as large pale digits behind the
// grid, and an optional picture blended in.
#include "BgrColour.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>

#include <cstdint>

namespace tavlo::calendar {

struct TBackgroundStyle {
    QFont Font;  // the control's font; the big digits take its style
    bool ShowFrame = true;
    QColor ColorShowFrame = bgr(0x808080);
    bool ShowBackYearMonth = true;
    QColor ColorBackYear = bgr(0xDDE8FF);
    QColor ColorBackMonth = bgr(0xEBEBEB);
    QImage Picture;  // empty for none
    bool Center = false;
    bool Stretch = false;
    std::uint8_t AlphaBlend = 50;
};

// Fills `back` (sized to `size`) and `picture` (the placed picture before
// blending, or an empty image); `grid` is the grid's place in the control.
// Both are drawn at `ratio` device pixels per pixel, for the screen's own
// sharpness.
void ComposeBackground(QImage& back, QImage& picture, QSize size, const QRect& grid, int year, int month,
                       const TBackgroundStyle& style, qreal ratio = 1);

}  // namespace tavlo::calendar
