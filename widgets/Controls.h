#pragma once
#include <QColor>
#include <QLabel>
#include <QWidget>

namespace tavlo::widgets {

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

// A label that reports clicks (a left press and release on it).
class TLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool leftPressed_ = false;
};

}  // namespace tavlo::widgets
