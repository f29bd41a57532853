#include "TCaptureMagnifier.h"

#include <QPainter>

#include <algorithm>

namespace tavlo {

TCaptureMagnifier::TCaptureMagnifier(const QImage& picture, QWidget* parent) : QWidget(parent), picture_(picture) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_OpaquePaintEvent);
    const int side = kSpan * kZoom + 2;
    resize(side, side);
}

void TCaptureMagnifier::follow(QPoint pointer, QPoint pixel) {
    pixel_ = pixel;
    const QSize area = parentWidget()->size();
    int x = pointer.x() + kOffset, y = pointer.y() + kOffset;
    if (x + width() > area.width()) x = pointer.x() - kOffset - width();
    if (y + height() > area.height()) y = pointer.y() - kOffset - height();
    move(std::max(0, x), std::max(0, y));
    update();
}

void TCaptureMagnifier::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    const int half = kSpan / 2;
    const QRect source(pixel_.x() - half, pixel_.y() - half, kSpan, kSpan);
    // Pixels off the picture stay black; the copy pads them.
    QImage square = picture_.copy(source);
    square.setDevicePixelRatio(1);
    painter.drawImage(QRect(1, 1, kSpan * kZoom, kSpan * kZoom), square);

    // The cross through the centre pixel, and a box around it.
    const QRect centre(1 + half * kZoom, 1 + half * kZoom, kZoom, kZoom);
    painter.setPen(QColor(0, 120, 215, 160));
    painter.drawLine(centre.center().x(), 1, centre.center().x(), height() - 2);
    painter.drawLine(1, centre.center().y(), width() - 2, centre.center().y());
    painter.setPen(QColor(0, 120, 215));
    painter.drawRect(centre.adjusted(0, 0, -1, -1));
    painter.setPen(Qt::white);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace tavlo
