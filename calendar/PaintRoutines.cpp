#include "PaintRoutines.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace tavlo::calendar {
namespace {

// Round to nearest, halves to even (the default floating rounding mode).
int roundEven(double value) {
    return static_cast<int>(std::nearbyint(value));
}

}  // namespace

void FillGradient(QPainter& canvas, const QRect& rect, int steps, const QColor& start, const QColor& end) {
    if (steps < 1) return;
    const double dr = double(end.red() - start.red()) / steps;
    const double dg = double(end.green() - start.green()) / steps;
    const double db = double(end.blue() - start.blue()) / steps;
    const double band = double(rect.height()) / steps;
    for (int k = 1; k <= steps; ++k) {
        const int top = roundEven((k - 1) * band);
        const int bottom = roundEven(k * band);
        if (bottom == top) continue;
        const QColor colour(std::clamp(start.red() + roundEven(k * dr), 0, 255),
                            std::clamp(start.green() + roundEven(k * dg), 0, 255),
                            std::clamp(start.blue() + roundEven(k * db), 0, 255));
        canvas.fillRect(QRect(rect.left(), rect.top() + top, rect.width(), bottom - top), colour);
    }
}

QRect FitPictureRect(int pw, int ph, int bw, int bh, bool centre) {
    const double ratio = double(pw) / ph;
    int width, height;
    if (ph < pw) {
        width = bw;
        height = static_cast<int>(bw / ratio);
        if (height > bh) {
            height = bh;
            width = static_cast<int>(bh * ratio);
        }
    } else {
        height = bh;
        width = static_cast<int>(bh * ratio);
        if (width > bw) {
            width = bw;
            height = static_cast<int>(bw / ratio);
        }
    }
    QRect fitted(0, 0, width, height);
    if (centre) fitted.translate((bw - width) / 2, (bh - height) / 2);
    return fitted;
}

void BlendPicture(QImage& back, const QImage& picture, int alpha) {
    const int p = alpha % 100;
    const QImage source = picture.convertToFormat(QImage::Format_RGB32);
    if (back.format() != QImage::Format_RGB32) back = back.convertToFormat(QImage::Format_RGB32);
    if (source.isNull() || back.isNull()) return;
    const QRgb key = source.pixel(0, 0) & RGB_MASK;
    const int width = std::min(back.width(), source.width());
    const int height = std::min(back.height(), source.height());
    auto mix = [p](int b, int s) { return std::clamp(((100 - p) * b + p * s) / 100, 0, 255); };
    for (int y = 0; y < height; ++y) {
        auto* target = reinterpret_cast<QRgb*>(back.scanLine(y));
        const auto* from = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            const QRgb s = from[x] & RGB_MASK;
            if (s == key) continue;
            const QRgb b = target[x];
            target[x] = qRgb(mix(qRed(b), qRed(s)), mix(qGreen(b), qGreen(s)), mix(qBlue(b), qBlue(s)));
        }
    }
}

}  // namespace tavlo::calendar
