#pragma once
#include <QColor>
#include <QFont>
#include <QLabel>
#include <QRect>
#include <QWidget>

namespace tavlo::widgets {

// A control named as the system names it (tests find it by that name), at
// its place when a geometry is given.
template <typename Widget, typename... Args>
Widget* make(QWidget* parent, const char* name, QRect geometry, Args&&... args) {
    auto* widget = new Widget(std::forward<Args>(args)..., parent);
    widget->setObjectName(QLatin1String(name));
    if (geometry.isValid()) widget->setGeometry(geometry);
    return widget;
}

// A font by the name the system uses, sized in pixels.
QFont pixelFont(const QString& family, int pixels, bool bold = false);

// A rectangle shape: filled with a brush colour (none if transparent) and
// outlined by a 1-pixel pen.
class TShape : public QWidget {
    Q_OBJECT
public:
    TShape(QColor brush, QColor pen, QWidget* parent = nullptr);

signals:
    void painted();
    void mouseDown(QMouseEvent* event);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QColor brush_;
    QColor pen_;
};

// A label that reports clicks (a left press and release on it). Made a
// command (makeCommand) it also runs from the keyboard and from assistive
// technology: activated().
class TLabel : public QLabel {
    Q_OBJECT
public:
    explicit TLabel(const QString& text, QWidget* parent = nullptr);
    explicit TLabel(QWidget* parent = nullptr) : TLabel(QString(), parent) {}

signals:
    void clicked();
    // Run by Enter or Space, or by a screen reader, as a command.
    void activated();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool leftPressed_ = false;
};

}  // namespace tavlo::widgets
