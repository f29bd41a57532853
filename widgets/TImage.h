#pragma once
#include "Artwork.h"

#include <QImage>
#include <QPixmap>
#include <QRect>
#include <QWidget>

namespace tavlo::widgets {

// A picture control: shows its picture at natural size from the top-left
// corner, or stretched over the whole control; transparent parts show what
// lies behind. With auto-size the control takes the picture's size.
// Mouse presses, moves (tracked without a button) and clicks are signalled; a
// click is a left press and release inside the control. A picture made a
// command (makeCommand) also runs from the keyboard and from assistive
// technology: activated().
class TImage : public QWidget {
    Q_OBJECT
public:
    explicit TImage(QWidget* parent = nullptr);

    void setPicture(const QPixmap& picture);
    // A picture as an image: shown as it is, without a copy (an image over a
    // bitmap's own rows stays valid only while that bitmap lives).
    void setPicture(const QImage& picture);
    // Only the top-left part of a picture of `size` pixels, the rest of which
    // is never on screen: laid out and painted as the whole would be, as far
    // as the part goes.
    void setPicturePart(const QImage& part, QSize size);
    const QImage& picture() const { return picture_; }
    void setStretch(bool stretch);
    bool stretch() const { return stretch_; }
    void setAutoSize(bool autoSize);
    bool autoSize() const { return autoSize_; }

signals:
    void mouseDown(QMouseEvent* event);
    void mouseMoved(QMouseEvent* event);
    void mouseUp(QMouseEvent* event);
    void clicked();
    // Run by Enter or Space, or by a screen reader, as a command.
    void activated();

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void fitToPicture();

    QImage picture_;
    QSize size_;  // of the whole picture
    bool stretch_ = false;
    bool autoSize_ = false;
    bool leftPressed_ = false;
};

// A named picture control showing a piece of the artwork.
TImage* picture(QWidget* parent, const char* name, QRect geometry, const ArtworkPiece& art);

}  // namespace tavlo::widgets
