#include "SpinButton.h"

#include "Command.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QStyleOption>

#include <algorithm>

namespace tavlo::calendar {

namespace {

// A spin box to assistive technology: its actions press the arrows, queued
// as a click is (the date's change may open a box the reader must not wait for).
class SpinAccessible : public QAccessibleWidget {
public:
    explicit SpinAccessible(TSpinButton* spin) : QAccessibleWidget(spin, QAccessible::SpinBox) {}

    QStringList actionNames() const override { return {increaseAction(), decreaseAction()}; }

    void doAction(const QString& action) override {
        const int direction = action == increaseAction() ? 1 : action == decreaseAction() ? -1 : 0;
        if (direction == 0) return;
        QPointer<TSpinButton> spin = static_cast<TSpinButton*>(widget());
        QMetaObject::invokeMethod(
            spin, [spin, direction] { spin->step(direction); }, Qt::QueuedConnection);
    }

    QStringList keyBindingsForAction(const QString& action) const override {
        if (action == increaseAction()) return {QStringLiteral("Up")};
        if (action == decreaseAction()) return {QStringLiteral("Down")};
        return {};
    }
};

QAccessibleInterface* spinAccessible(const QString& className, QObject* object) {
    if (className != QLatin1String(TSpinButton::staticMetaObject.className())) return nullptr;
    return new SpinAccessible(static_cast<TSpinButton*>(object));
}

}  // namespace

TSpinButton::TSpinButton(int minimum, int maximum, QWidget* parent)
    : QWidget(parent), minimum_(minimum), maximum_(maximum), position_(minimum) {
    static const bool installed = (QAccessible::installFactory(spinAccessible), true);
    (void)installed;
    // Tab only: a click steps without leaving a focus mark.
    setFocusPolicy(Qt::TabFocus);
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
    widgets::paintFocusMark(*this, painter);
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

void TSpinButton::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() & ~Qt::KeypadModifier) return QWidget::keyPressEvent(event);
    switch (event->key()) {
    case Qt::Key_Up: step(1); break;
    case Qt::Key_Down: step(-1); break;
    default: QWidget::keyPressEvent(event);
    }
}

}  // namespace tavlo::calendar
