#include "SelectionFrame.h"

#include <algorithm>

namespace tavlo {
namespace {

void invertPixel(QImage& picture, int x, int y) {
    if (x < 0 || y < 0 || x >= picture.width() || y >= picture.height()) return;
    auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
    line[x] ^= 0x00FFFFFFu;
}

}  // namespace

QRect normalisedSelection(int x1, int y1, int x2, int y2) {
    return QRect(QPoint(std::min(x1, x2), std::min(y1, y2)), QPoint(std::max(x1, x2) - 1, std::max(y1, y2) - 1));
}

void invertOutline(QImage& picture, const QRect& rect, int width) {
    if (rect.isEmpty()) return;
    const int band = std::max(1, width);
    const int left = rect.left(), right = rect.right(), top = rect.top(), bottom = rect.bottom();
    for (int y = top; y <= bottom; ++y) {
        if (y < top + band || y > bottom - band) {
            for (int x = left; x <= right; ++x) invertPixel(picture, x, y);
            continue;
        }
        // The left band, then the right band where it does not overlap it.
        const int leftEnd = std::min(left + band - 1, right);
        for (int x = left; x <= leftEnd; ++x) invertPixel(picture, x, y);
        for (int x = std::max(right - band + 1, leftEnd + 1); x <= right; ++x) invertPixel(picture, x, y);
    }
}

QRegion outlineRegion(const QRect& rect, int width) {
    if (rect.isEmpty()) return {};
    const int band = std::max(1, width);
    return QRegion(rect).subtracted(QRegion(rect.adjusted(band, band, -band, -band)));
}

}  // namespace tavlo
