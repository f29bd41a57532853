#include "Controls.h"

#include "Command.h"

#include <QKeyEvent>
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

TLabel::TLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    installControlAccessibility();
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

void TLabel::keyPressEvent(QKeyEvent* event) {
    if (!isActivationKey(*event)) {
        QLabel::keyPressEvent(event);
        return;
    }
    emit activated();
}

void TLabel::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    QPainter painter(this);
    paintFocusMark(*this, painter);
}

}  // namespace tavlo::widgets
