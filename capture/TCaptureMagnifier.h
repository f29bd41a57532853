#pragma once
#include <QImage>
#include <QWidget>

namespace tavlo {

// A square of the screen picture around the pointer, enlarged eight times,
// with a cross on the pixel the readout shows. It sits beside the pointer and
// changes sides near the window's edges; the mouse passes through it.
class TCaptureMagnifier : public QWidget {
public:
    static constexpr int kSpan = 15;    // picture pixels across
    static constexpr int kZoom = 8;     // window pixels per picture pixel
    static constexpr int kOffset = 20;  // from the pointer

    TCaptureMagnifier(const QImage& picture, QWidget* parent);

    // Follows the pointer at `pointer` (window pixels) over the picture pixel
    // `pixel`.
    void follow(QPoint pointer, QPoint pixel);
    QPoint pixel() const { return pixel_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const QImage& picture_;
    QPoint pixel_;
};

}  // namespace tavlo
