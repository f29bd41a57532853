#include "TImage.h"

#include "Command.h"
#include "Controls.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace tavlo::widgets {

TImage::TImage(QWidget* parent) : QWidget(parent) {
    installControlAccessibility();
    setMouseTracking(true);
}

void TImage::setPicture(const QPixmap& picture) {
    setPicture(picture.toImage());
}

void TImage::setPicture(const QImage& picture) {
    setPicturePart(picture, picture.deviceIndependentSize().toSize());
}

void TImage::setPicturePart(const QImage& part, QSize size) {
    picture_ = part;
    size_ = size;
    fitToPicture();
    update();
}

void TImage::setStretch(bool stretch) {
    stretch_ = stretch;
    update();
}

void TImage::setAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    fitToPicture();
}

void TImage::fitToPicture() {
    if (autoSize_ && !picture_.isNull()) resize(size_);
}

void TImage::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!picture_.isNull()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        // Only the exposed part is drawn: a large picture costs its visible part.
        if (stretch_ && rect().size() != size_) {
            const QSizeF part = picture_.deviceIndependentSize();
            painter.drawImage(
                QRectF(0, 0, part.width() * width() / size_.width(), part.height() * height() / size_.height()),
                picture_);
        } else {
            painter.drawImage(QPoint(0, 0), picture_);
        }
    }
    paintFocusMark(*this, painter);
}

void TImage::keyPressEvent(QKeyEvent* event) {
    if (!isActivationKey(*event)) {
        QWidget::keyPressEvent(event);
        return;
    }
    emit activated();
}

void TImage::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) leftPressed_ = true;
    emit mouseDown(event);
}

void TImage::mouseMoveEvent(QMouseEvent* event) {
    emit mouseMoved(event);
}

void TImage::mouseReleaseEvent(QMouseEvent* event) {
    const bool click =
        event->button() == Qt::LeftButton && leftPressed_ && rect().contains(event->position().toPoint());
    if (event->button() == Qt::LeftButton) leftPressed_ = false;
    emit mouseUp(event);
    if (click) emit clicked();
}

TImage* picture(QWidget* parent, const char* name, QRect geometry, const ArtworkPiece& art) {
    auto* image = make<TImage>(parent, name, geometry);
    image->setPicture(renderArtwork(art));
    return image;
}

}  // namespace tavlo::widgets
