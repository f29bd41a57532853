#pragma once
#include <QColor>
#include <QLabel>
#include <QWidget>

namespace tavlo::app {

// A rectangle shape: filled with a brush colour and outlined by a 1-pixel pen.
class TShape : public QWidget {
    Q_OBJECT
public:
    TShape(QColor brush, QColor pen, QWidget* parent = nullptr);

signals:
    void painted();

protected:
    void paintEvent(QPaintEvent* event) override;

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

}  // namespace tavlo::app
