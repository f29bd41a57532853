#include "WindowFrame.h"

#include <QApplication>
#include <QChildEvent>
#include <QMouseEvent>
#include <QWindow>

namespace tavlo::widgets {

WindowFrame::WindowFrame(QWidget* window, int margin) : QObject(window), window_(window), margin_(margin) {
    watch(window);
}

// The window and every control in it, including those added later: mouse
// input goes to the control under the pointer, not to the window.
void WindowFrame::watch(QWidget* widget) {
    widget->installEventFilter(this);
    for (QObject* child : widget->children()) {
        auto* control = qobject_cast<QWidget*>(child);
        if (control && !control->isWindow()) watch(control);
    }
}

WindowFrame::~WindowFrame() {
    setEdgeCursor({});
}

Qt::Edges WindowFrame::edgesAt(QPoint p) const {
    Qt::Edges edges;
    if (p.x() < margin_) edges |= Qt::LeftEdge;
    if (p.x() >= window_->width() - margin_) edges |= Qt::RightEdge;
    if (p.y() < margin_) edges |= Qt::TopEdge;
    if (p.y() >= window_->height() - margin_) edges |= Qt::BottomEdge;
    return edges;
}

void WindowFrame::startMove(QPointF globalPos) {
    QWindow* handle = window_->windowHandle();
    if (handle && handle->startSystemMove()) return;
    follow_ = Follow::Move;
    pressGlobal_ = globalPos;
    pressGeometry_ = window_->geometry();
}

void WindowFrame::holdSize(QSize minimum) {
    minimum_ = minimum;
    holding_ = true;
    window_->setFixedSize(window_->size());
}

void WindowFrame::startResize(Qt::Edges edges, QPointF globalPos) {
    if (holding_) {
        holding_ = false;
        window_->setMinimumSize(minimum_);
        window_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
    QWindow* handle = window_->windowHandle();
    if (handle && handle->startSystemResize(edges)) return;
    follow_ = Follow::Resize;
    followEdges_ = edges;
    pressGlobal_ = globalPos;
    pressGeometry_ = window_->geometry();
}

void WindowFrame::followTo(QPointF globalPos) {
    const QPoint delta = (globalPos - pressGlobal_).toPoint();
    if (follow_ == Follow::Move) {
        window_->move(pressGeometry_.topLeft() + delta);
        return;
    }
    QRect g = pressGeometry_;
    const QSize minimum = window_->minimumSize().expandedTo(QSize(2 * margin_ + 1, 2 * margin_ + 1));
    if (followEdges_ & Qt::LeftEdge) g.setLeft(std::min(g.left() + delta.x(), g.right() - minimum.width() + 1));
    if (followEdges_ & Qt::RightEdge) g.setRight(std::max(g.right() + delta.x(), g.left() + minimum.width() - 1));
    if (followEdges_ & Qt::TopEdge) g.setTop(std::min(g.top() + delta.y(), g.bottom() - minimum.height() + 1));
    if (followEdges_ & Qt::BottomEdge) g.setBottom(std::max(g.bottom() + delta.y(), g.top() + minimum.height() - 1));
    window_->setGeometry(g);
}

void WindowFrame::setEdgeCursor(Qt::Edges edges) {
    Qt::CursorShape shape = Qt::ArrowCursor;
    if (edges == (Qt::LeftEdge | Qt::TopEdge) || edges == (Qt::RightEdge | Qt::BottomEdge)) {
        shape = Qt::SizeFDiagCursor;
    } else if (edges == (Qt::RightEdge | Qt::TopEdge) || edges == (Qt::LeftEdge | Qt::BottomEdge)) {
        shape = Qt::SizeBDiagCursor;
    } else if (edges & (Qt::LeftEdge | Qt::RightEdge)) {
        shape = Qt::SizeHorCursor;
    } else if (edges & (Qt::TopEdge | Qt::BottomEdge)) {
        shape = Qt::SizeVerCursor;
    }
    if (edges && !edgeCursorSet_) {
        QApplication::setOverrideCursor(shape);
        edgeCursorSet_ = true;
    } else if (edges) {
        QApplication::changeOverrideCursor(shape);
    } else if (edgeCursorSet_) {
        QApplication::restoreOverrideCursor();
        edgeCursorSet_ = false;
    }
}

bool WindowFrame::eventFilter(QObject* watched, QEvent* event) {
    const auto type = event->type();
    if (type == QEvent::ChildAdded) {
        auto* added = qobject_cast<QWidget*>(static_cast<QChildEvent*>(event)->child());
        if (added && !added->isWindow()) watch(added);
        return false;
    }
    if (type == QEvent::Leave && watched == window_) {
        setEdgeCursor({});
        return false;
    }
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove && type != QEvent::MouseButtonRelease) {
        return false;
    }
    auto* target = qobject_cast<QWidget*>(watched);
    if (!target) return false;
    if (target->window() != window_) {
        // Moved to another window (or made one): no longer this frame's.
        target->removeEventFilter(this);
        return false;
    }
    return handleMouse(target, event);
}

bool WindowFrame::handleMouse(QWidget* target, QEvent* event) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    const QPointF global = mouse->globalPosition();
    if (follow_ != Follow::None) {
        if (event->type() == QEvent::MouseMove) followTo(global);
        if (event->type() == QEvent::MouseButtonRelease) follow_ = Follow::None;
        return false;
    }
    const bool exempt = exempt_ && exempt_(target);
    // The place in the window comes from the event itself, not from the
    // screen position: the window's idea of where it is on the screen can
    // lag behind where the window manager put it (just after it is shown),
    // and a click in the middle would then count as one on the edge.
    const QPoint inWindow = target->mapTo(window_, mouse->position().toPoint());
    const Qt::Edges edges = exempt ? Qt::Edges() : edgesAt(inWindow);
    if (event->type() == QEvent::MouseMove && mouse->buttons() == Qt::NoButton) setEdgeCursor(edges);
    if (event->type() == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton && edges) {
        startResize(edges, global);
        return true;
    }
    return false;
}

}  // namespace tavlo::widgets
