#include "DayGrid.h"

#include "DayGridAccessible.h"

#include <QAccessible>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>

namespace tavlo::calendar {

TDayGrid::TDayGrid(int columns, int rows, QWidget* parent) : QWidget(parent), widths_(columns, 64), heights_(rows, 24) {
    installDayGridAccessibility();
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TDayGrid::setColumnWidth(int column, int width) {
    if (widths_[column] == width) return;
    widths_[column] = width;
    update();
}

void TDayGrid::setRowHeight(int row, int height) {
    if (heights_[row] == height) return;
    heights_[row] = height;
    update();
}

QRect TDayGrid::cellRect(int column, int row) const {
    int left = 0;
    for (int c = 0; c < column; ++c) left += widths_[c];
    int top = 0;
    for (int r = 0; r < row; ++r) top += heights_[r];
    return {left, top, widths_[column], heights_[row]};
}

QPoint TDayGrid::cellAt(QPoint position) const {
    if (!rect().contains(position)) return {-1, -1};
    int column = -1;
    for (int c = 0, left = 0; c < columnCount(); left += widths_[c], ++c) {
        if (position.x() >= left && position.x() < left + widths_[c]) column = c;
    }
    int row = -1;
    for (int r = 0, top = 0; r < rowCount(); top += heights_[r], ++r) {
        if (position.y() >= top && position.y() < top + heights_[r]) row = r;
    }
    if (column < 0 || row < 0) return {-1, -1};
    return {column, row};
}

void TDayGrid::updateCell(int column, int row) {
    update(cellRect(column, row));
}

bool TDayGrid::moveCurrent(QPoint cell) {
    if (SelectCell && !SelectCell(cell.x(), cell.y())) return false;
    if (cell == current_) return true;
    const QPoint old = current_;
    current_ = cell;
    updateCell(old.x(), old.y());
    updateCell(cell.x(), cell.y());
    announceCurrent();
    return true;
}

// A screen reader follows the keyboard from cell to cell.
void TDayGrid::announceCurrent() {
    const int index = accessibleCellIndex(current_.x(), current_.y());
    if (index < 0 || !QAccessible::isActive()) return;
    QAccessibleEvent selection(this, QAccessible::SelectionAdd);
    selection.setChild(index);
    QAccessible::updateAccessibility(&selection);
    if (!hasFocus()) return;
    QAccessibleEvent focus(this, QAccessible::Focus);
    focus.setChild(index);
    QAccessible::updateAccessibility(&focus);
}

void TDayGrid::selectCell(int column, int row) {
    if (QPoint(column, row) == current_) return;
    if (moveCurrent({column, row})) emit clicked();
}

void TDayGrid::setRow(int row) {
    if (row == current_.y()) return;
    moveCurrent({current_.x(), row});
    emit clicked();
}

void TDayGrid::setColumn(int column) {
    if (column == current_.x()) return;
    moveCurrent({column, current_.y()});
    emit clicked();
}

void TDayGrid::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect dirty = event->rect();
    for (int row = 0; row < rowCount(); ++row) {
        for (int column = 0; column < columnCount(); ++column) {
            const QRect cell = cellRect(column, row);
            if (!cell.intersects(dirty) || cell.isEmpty()) continue;
            TCellState state;
            state.Selected = QPoint(column, row) == current_;
            state.Focused = state.Selected && hasFocus();
            state.FocusShown = state.Focused && window()->testAttribute(Qt::WA_KeyboardFocusChange);
            if (DrawCell) painter.drawImage(cell.topLeft(), DrawCell(column, row, cell, state));
        }
    }
}

void TDayGrid::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    if (event->button() == Qt::LeftButton) {
        const QPoint cell = cellAt(event->position().toPoint());
        if (cell.x() >= 0) moveCurrent(cell);
        selecting_ = true;
    }
    emit mouseDown(event->button());
}

// The second press of a double-click moves nothing; it is only reported.
void TDayGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    selecting_ = false;
    emit mouseDown(event->button());
}

void TDayGrid::mouseMoveEvent(QMouseEvent* event) {
    if (!selecting_ || !(event->buttons() & Qt::LeftButton)) return;
    const QPoint cell = cellAt(event->position().toPoint());
    if (cell.x() >= 0 && cell != current_) moveCurrent(cell);
}

void TDayGrid::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !selecting_) return;
    selecting_ = false;
    const QPoint cell = cellAt(event->position().toPoint());
    if (cell.x() >= 0 && cell != current_) moveCurrent(cell);
    emit clicked();
}

QPoint TDayGrid::clampCell(QPoint cell) const {
    return {std::clamp(cell.x(), 0, columnCount() - 1), std::clamp(cell.y(), 0, rowCount() - 1)};
}

// Offers the cells in order until one is taken.
bool TDayGrid::tryCells(const std::vector<QPoint>& candidates) {
    for (const QPoint& cell : candidates) {
        if (cell == current_) return false;
        if (moveCurrent(cell)) return true;
    }
    return false;
}

// Arrows move by one cell. Home, End, Page Up and Page Down aim at the far
// end of the row or column and come back towards the current cell until a
// cell is accepted, so they land on the first or last cell the owner allows.
bool TDayGrid::moveByKey(int key, Qt::KeyboardModifiers modifiers) {
    const QPoint here = current_;
    std::vector<QPoint> candidates;
    auto walk = [&](QPoint from, QPoint step) {
        for (QPoint cell = from; cell != here; cell += step) candidates.push_back(cell);
    };
    const bool wholeGrid = modifiers & Qt::ControlModifier;
    switch (key) {
    case Qt::Key_Left: candidates.push_back(here + QPoint(-1, 0)); break;
    case Qt::Key_Right: candidates.push_back(here + QPoint(1, 0)); break;
    case Qt::Key_Up: candidates.push_back(here + QPoint(0, -1)); break;
    case Qt::Key_Down: candidates.push_back(here + QPoint(0, 1)); break;
    case Qt::Key_PageUp: walk({here.x(), 0}, {0, 1}); break;
    case Qt::Key_PageDown: walk({here.x(), rowCount() - 1}, {0, -1}); break;
    case Qt::Key_Home:
        if (wholeGrid) walk({here.x(), 0}, {0, 1});
        walk({0, here.y()}, {1, 0});
        break;
    case Qt::Key_End:
        if (wholeGrid) walk({here.x(), rowCount() - 1}, {0, -1});
        walk({columnCount() - 1, here.y()}, {-1, 0});
        break;
    default: return false;
    }
    for (QPoint& cell : candidates) cell = clampCell(cell);
    return tryCells(candidates);
}

void TDayGrid::keyPressEvent(QKeyEvent* event) {
    static const int kMoveKeys[] = {Qt::Key_Left,   Qt::Key_Right,    Qt::Key_Up,   Qt::Key_Down,
                                    Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Home, Qt::Key_End};
    if (std::find(std::begin(kMoveKeys), std::end(kMoveKeys), event->key()) == std::end(kMoveKeys)) {
        QWidget::keyPressEvent(event);
        return;
    }
    // From now on the keyboard's place is marked, as after a Tab.
    window()->setAttribute(Qt::WA_KeyboardFocusChange);
    if (moveByKey(event->key(), event->modifiers())) emit clicked();
    updateCell(current_.x(), current_.y());
}

void TDayGrid::wheelEvent(QWheelEvent* event) {
    wheelRemainder_ += event->angleDelta().y();
    while (std::abs(wheelRemainder_) >= 120) {
        const int step = wheelRemainder_ > 0 ? -1 : 1;  // turning away from the user goes up
        wheelRemainder_ += step * 120;
        const QPoint target = clampCell(current_ + QPoint(0, step));
        if (target != current_ && moveCurrent(target)) emit clicked();
    }
    event->accept();
}

void TDayGrid::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    updateCell(current_.x(), current_.y());
    announceCurrent();
}

void TDayGrid::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    updateCell(current_.x(), current_.y());
}

void TDayGrid::contextMenuEvent(QContextMenuEvent* event) {
    if (popupMenu_)
        popupMenu_->popup(event->globalPos());
    else
        event->ignore();
}

}  // namespace tavlo::calendar
