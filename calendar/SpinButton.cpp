#include "SpinButton.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>

#include <algorithm>

namespace tavlo::calendar {

TSpinButton::TSpinButton(int minimum, int maximum, QWidget* parent)
    : QWidget(parent), minimum_(minimum), maximum_(maximum), position_(minimum) {
    resize(sizeHint());
}

void TSpinButton::setPosition(int value) {
    value = std::clamp(value, minimum_, maximum_);
    if (value == position_) return;
    position_ = value;
}

void TSpinButton::step(int direction) {
    const int target = std::clamp(position_ + direction, minimum_, maximum_);
    if (target == position_) return;
    position_ = target;
    emit stepped(direction);
}

void TSpinButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int half = height() / 2;
    const QRect halves[] = {QRect(0, 0, width(), half), QRect(0, half, width(), height() - half)};
    const QStyle::PrimitiveElement arrows[] = {QStyle::PE_IndicatorArrowUp, QStyle::PE_IndicatorArrowDown};
    for (int i = 0; i < 2; ++i) {
        QStyleOptionButton button;
        button.initFrom(this);
        button.rect = halves[i];
        button.state |= (pressed_ == (i == 0 ? 1 : -1)) ? QStyle::State_Sunken : QStyle::State_Raised;
        style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &button, &painter, this);
        QStyleOption arrow = button;
        arrow.rect = halves[i].adjusted(3, 2, -3, -2);
        style()->drawPrimitive(arrows[i], &arrow, &painter, this);
    }
}

void TSpinButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    pressed_ = event->position().y() < height() / 2 ? 1 : -1;
    update();
    step(pressed_);
}

void TSpinButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    pressed_ = 0;
    update();
}

}  // namespace tavlo::calendar
