#pragma once
// A vertical pair of arrow buttons with a position in a range; a press on
// an arrow moves the position by one (never past the range) and reports it.
// Tab reaches it; the Up and Down keys press its arrows, and a screen reader
// sees a spin box with increase and decrease actions.
#include <QWidget>

namespace tavlo::calendar {

class TSpinButton : public QWidget {
    Q_OBJECT
public:
    TSpinButton(int minimum, int maximum, QWidget* parent = nullptr);

    int position() const { return position_; }
    // Clamped to the range; reports nothing.
    void setPosition(int value);
    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }

    // Press the upper (+1) or lower (-1) arrow, as a click does.
    void step(int direction);

    QSize sizeHint() const override { return {17, 22}; }

signals:
    // The position moved by `direction` (+1 or -1).
    void stepped(int direction);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int minimum_;
    int maximum_;
    int position_;
    int pressed_ = 0;  // the arrow held down: +1 upper, -1 lower
};

}  // namespace tavlo::calendar
