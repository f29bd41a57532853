#include "Controls.h"

#include <QMouseEvent>
#include <QPainter>

namespace tavlo::widgets {

QFont pixelFont(const QString& family, int pixels, bool bold) {
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

TShape::TShape(QColor brush, QColor pen, QWidget* parent) : QWidget(parent), brush_(brush), pen_(pen) {
    setAttribute(Qt::WA_OpaquePaintEvent, brush_.alpha() == 255);
}

void TShape::mousePressEvent(QMouseEvent* event) {
    event->accept();
    emit mouseDown(event);
}

void TShape::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (brush_.alpha() != 0) painter.fillRect(rect(), brush_);
    painter.setPen(pen_);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.end();
    emit painted();
}

void TLabel::mousePressEvent(QMouseEvent* event) {
    // Accepted, so that the release comes back to the label.
    if (event->button() == Qt::LeftButton) leftPressed_ = true;
    event->accept();
}

void TLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool click =
        event->button() == Qt::LeftButton && leftPressed_ && rect().contains(event->position().toPoint());
    if (event->button() == Qt::LeftButton) leftPressed_ = false;
    event->accept();
    if (click) emit clicked();
}

}  // namespace tavlo::widgets
