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

void invertOutline(QImage& picture, const QRect& rect) {
    if (rect.isEmpty()) return;
    const int left = rect.left(), right = rect.right(), top = rect.top(), bottom = rect.bottom();
    for (int x = left; x <= right; ++x) {
        invertPixel(picture, x, top);
        if (bottom != top) invertPixel(picture, x, bottom);
    }
    for (int y = top + 1; y < bottom; ++y) {
        invertPixel(picture, left, y);
        if (right != left) invertPixel(picture, right, y);
    }
}

QRegion outlineRegion(const QRect& rect) {
    if (rect.isEmpty()) return {};
    QRegion region(rect.left(), rect.top(), rect.width(), 1);
    region += QRect(rect.left(), rect.bottom(), rect.width(), 1);
    region += QRect(rect.left(), rect.top(), 1, rect.height());
    region += QRect(rect.right(), rect.top(), 1, rect.height());
    return region;
}

}  // namespace tavlo
