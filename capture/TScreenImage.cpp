#include "TScreenImage.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

namespace tavlo {

TScreenImage::TScreenImage(const QImage& picture, QWidget* parent) : QWidget(parent), picture_(picture) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TScreenImage::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    if (picture_.isNull()) {
        painter.fillRect(event->rect(), Qt::black);
        return;
    }
    // Only the changed strips are repainted: the painter clips to them. A
    // picture at another scale than the window's pixels (a compositor's
    // screenshot under a toolkit that rounds the scale, or none) is scaled
    // smoothly to the window's size.
    painter.setRenderHint(QPainter::SmoothPixmapTransform,
                          !qFuzzyCompare(picture_.devicePixelRatio(), devicePixelRatioF()));
    painter.drawImage(QPointF(0, 0), picture_);
}

void TScreenImage::mousePressEvent(QMouseEvent* event) {
    emit mouseDown(event);
}

void TScreenImage::mouseMoveEvent(QMouseEvent* event) {
    emit mouseMoved(event);
}

void TScreenImage::mouseReleaseEvent(QMouseEvent* event) {
    emit mouseUp(event);
}

void TScreenImage::mouseDoubleClickEvent(QMouseEvent* event) {
    emit doubleClicked(event);
}

}  // namespace tavlo
