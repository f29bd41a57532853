#pragma once
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QWidget>

#include <functional>

namespace tavlo::widgets {

// The frame of a borderless window: pressing within a few pixels of its edge
// resizes it, and startMove() drags it, both through the window manager.
// Where no window manager answers (or the platform has none), the window
// follows the mouse itself until the button is released. It filters the
// window's own controls only, so other windows' input never passes it.
class WindowFrame : public QObject {
    Q_OBJECT
public:
    explicit WindowFrame(QWidget* window, int margin = 4);
    ~WindowFrame() override;

    // Controls that keep their own presses even at the window's edge.
    void setExempt(std::function<bool(const QWidget*)> exempt) { exempt_ = std::move(exempt); }

    // Moves the window with the mouse until the button is released.
    void startMove(QPointF globalPos);

    // The edges (Qt::Edges) a point in window coordinates would resize.
    Qt::Edges edgesAt(QPoint windowPos) const;

    bool followingMouse() const { return follow_ != Follow::None; }

    // Holds the window at its present size (minimum = maximum) until the user
    // drags an edge, when `minimum` becomes its minimum again. Tiling
    // compositors float a window of a fixed size by themselves; they look at
    // the size hints when the window is mapped, so hold it before each show.
    void holdSize(QSize minimum);
    bool holdingSize() const { return holding_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Follow { None, Move, Resize };

    void watch(QWidget* widget);
    bool handleMouse(QWidget* target, QEvent* event);
    void startResize(Qt::Edges edges, QPointF globalPos);
    void followTo(QPointF globalPos);
    void setEdgeCursor(Qt::Edges edges);

    QWidget* window_;
    int margin_;
    std::function<bool(const QWidget*)> exempt_;
    Follow follow_ = Follow::None;
    Qt::Edges followEdges_;
    QPointF pressGlobal_;
    QRect pressGeometry_;
    bool edgeCursorSet_ = false;
    bool holding_ = false;
    QSize minimum_;
};

}  // namespace tavlo::widgets
