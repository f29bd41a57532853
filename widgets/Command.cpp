#include "Command.h"

#include "Controls.h"
#include "TImage.h"

#include <QAccessibleWidget>
#include <QChildEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QVariant>

namespace tavlo::widgets {

namespace {

// The role a command has to assistive technology, kept on the control.
constexpr char kCommandRole[] = "tavloCommandRole";

// A picture or label as assistive technology sees it. Asked afresh each time,
// so that an interface made before the control became a command (a screen
// reader listening while the window is built) follows it.
class ControlAccessible : public QAccessibleWidget {
public:
    ControlAccessible(QWidget* control, QAccessible::Role idleRole)
        : QAccessibleWidget(control, idleRole), idleRole_(idleRole) {}

    QAccessible::Role role() const override {
        const QVariant command = widget()->property(kCommandRole);
        return command.isValid() ? static_cast<QAccessible::Role>(command.toInt()) : idleRole_;
    }

    QString text(QAccessible::Text t) const override {
        QString text = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && text.isEmpty()) {
            if (const auto* label = qobject_cast<const QLabel*>(widget())) text = label->text();
        }
        return text;
    }

    QStringList actionNames() const override {
        QStringList names = QAccessibleWidget::actionNames();
        if (isCommand()) names.prepend(pressAction());
        return names;
    }

    // Queued, as a click is: the command may open a modal dialog, and the
    // screen reader must not wait for it to close.
    void doAction(const QString& action) override {
        if (action == pressAction() && isCommand()) {
            QMetaObject::invokeMethod(widget(), "activated", Qt::QueuedConnection);
            return;
        }
        QAccessibleWidget::doAction(action);
    }

    QStringList keyBindingsForAction(const QString& action) const override {
        if (action == pressAction() && isCommand()) return {QStringLiteral("Return"), QStringLiteral("Space")};
        return QAccessibleWidget::keyBindingsForAction(action);
    }

private:
    bool isCommand() const { return widget()->property(kCommandRole).isValid(); }

    QAccessible::Role idleRole_;
};

// Takes Tab focus from the controls of an area as they are made ready (the
// control's own constructor has set its policy by then).
class OutOfTabChain : public QObject {
public:
    explicit OutOfTabChain(QWidget* area) : QObject(area) {
        area->installEventFilter(this);
        leaveOut(area);
        for (QWidget* control : area->findChildren<QWidget*>()) leaveOut(control);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ChildPolished) {
            if (auto* control = qobject_cast<QWidget*>(static_cast<QChildEvent*>(event)->child())) {
                control->installEventFilter(this);
                leaveOut(control);
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    static void leaveOut(QWidget* control) {
        if (control->focusPolicy() & Qt::TabFocus) control->setFocusPolicy(Qt::ClickFocus);
    }
};

// Whether the toolkit's own class nearest to `object`'s is QWidget itself:
// a plain widget, which the toolkit would show as a mere filler.
bool isPlainWidget(const QObject* object) {
    const QMetaObject* type = object->metaObject();
    while (type && !QByteArray(type->className()).startsWith('Q')) type = type->superClass();
    return type == &QWidget::staticMetaObject;
}

QAccessibleInterface* controlAccessible(const QString& className, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget) return nullptr;
    // The program's own windows are frames named by their titles.
    if (widget->isWindow() && className == QLatin1String(object->metaObject()->className()) && isPlainWidget(object))
        return new QAccessibleWidget(widget, QAccessible::Window);
    if (className == QLatin1String(TImage::staticMetaObject.className()))
        return new ControlAccessible(widget, QAccessible::Graphic);
    if (className == QLatin1String(TLabel::staticMetaObject.className()))
        return new ControlAccessible(widget, QAccessible::StaticText);
    return nullptr;
}

}  // namespace

void installControlAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(controlAccessible);
        return true;
    }();
    (void)installed;
}

void makeCommand(QWidget* control, const QString& name, const QString& tip, CommandKind kind) {
    control->setProperty(kCommandRole, static_cast<int>(kind == CommandKind::MenuButton ? QAccessible::ButtonMenu
                                                                                        : QAccessible::Button));
    control->setAccessibleName(name);
    control->setToolTip(tip);
    // Tab only: a click runs the command without leaving a focus mark.
    control->setFocusPolicy(Qt::TabFocus);
}

void setTabChain(std::initializer_list<QWidget*> controls) {
    QWidget* previous = nullptr;
    for (QWidget* control : controls) {
        if (previous) QWidget::setTabOrder(previous, control);
        previous = control;
    }
}

void leaveOutOfTabChain(QWidget* area) {
    new OutOfTabChain(area);
}

bool isActivationKey(const QKeyEvent& event) {
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    if (modifiers != Qt::NoModifier || event.isAutoRepeat()) return false;
    return event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter || event.key() == Qt::Key_Space;
}

void drawFocusRing(QPainter& painter, const QRect& box) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    // Whatever lies beneath, black or white differs from it by more than
    // 4.5:1; the ring shows both at every point of its way round.
    painter.setPen(QPen(Qt::white, 1));
    painter.drawRect(box.adjusted(0, 0, -1, -1));
    painter.drawRect(box.adjusted(2, 2, -3, -3));
    painter.setPen(QPen(Qt::black, 1));
    painter.drawRect(box.adjusted(1, 1, -2, -2));
    painter.restore();
}

void paintFocusMark(QWidget& control, QPainter& painter) {
    if (!control.hasFocus() || !control.window()->testAttribute(Qt::WA_KeyboardFocusChange)) return;
    drawFocusRing(painter, control.rect());
}

}  // namespace tavlo::widgets
