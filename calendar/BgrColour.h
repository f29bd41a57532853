#pragma once
#include <QColor>

namespace tavlo::calendar {

// 0xBBGGRR, the way the calendar's colours are written.
constexpr QColor bgr(unsigned value) {
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

}  // namespace tavlo::calendar
