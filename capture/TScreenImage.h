#pragma once
#include <QImage>
#include <QWidget>

namespace tavlo {

// The still of the screen, shown at the window's own pixel scale (the
// picture's device pixel ratio maps its physical pixels onto the window).
// Its mouse input is signalled; it is tracked without a button too.
class TScreenImage : public QWidget {
    Q_OBJECT
public:
    TScreenImage(const QImage& picture, QWidget* parent);

signals:
    void mouseDown(QMouseEvent* event);
    void mouseMoved(QMouseEvent* event);
    void mouseUp(QMouseEvent* event);
    void doubleClicked(QMouseEvent* event);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    const QImage& picture_;
};

}  // namespace tavlo
