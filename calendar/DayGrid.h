#pragma once
// A draw grid: columns and rows of given sizes, a current cell whose every
// move is offered to a veto first, cells drawn by the owner as whole images.
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QWidget>

#include <functional>
#include <vector>

class QMenu;

namespace tavlo::calendar {

struct TCellState {
    bool Selected = false;    // the grid's current cell
    bool Focused = false;     // ... and the grid has the keyboard focus
    bool FocusShown = false;  // ... which the keyboard has been moving: its ring is drawn
};

class TDayGrid : public QWidget {
    Q_OBJECT
public:
    TDayGrid(int columns, int rows, QWidget* parent = nullptr);

    int columnCount() const { return static_cast<int>(widths_.size()); }
    int rowCount() const { return static_cast<int>(heights_.size()); }
    int columnWidth(int column) const { return widths_[column]; }
    void setColumnWidth(int column, int width);
    int rowHeight(int row) const { return heights_[row]; }
    void setRowHeight(int row, int height);
    QRect cellRect(int column, int row) const;
    // The cell under a point in client coordinates; (-1, -1) for none.
    QPoint cellAt(QPoint position) const;

    int column() const { return current_.x(); }
    int row() const { return current_.y(); }
    // Moves made by the owner: offered like any other, and followed by the
    // click notification when the row or column actually changes.
    void setRow(int row);
    void setColumn(int column);
    // Redraws one cell.
    void updateCell(int column, int row);
    // A cell chosen from outside (a screen reader's action): offered like
    // any other, followed by the click notification when it became current.
    void selectCell(int column, int row);

    // Asked before every move of the current cell; false refuses it.
    std::function<bool(int column, int row)> SelectCell;
    // Draws one cell; the image, of the cell's size, is copied in one go.
    std::function<const QImage&(int column, int row, QRect rect, TCellState state)> DrawCell;
    // What a cell says to a screen reader.
    std::function<QString(int column, int row)> CellName;
    // Shown on a right click; none when null.
    void setPopupMenu(QMenu* menu) { popupMenu_ = menu; }
    QMenu* popupMenu() const { return popupMenu_; }

signals:
    // A button went down in the grid (after the press has offered its cell).
    void mouseDown(Qt::MouseButton button);
    // The click notification: a left press released, a keyboard or wheel
    // move, or an owner move that changed the current cell.
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    bool moveCurrent(QPoint cell);
    bool moveByKey(int key, Qt::KeyboardModifiers modifiers);
    bool tryCells(const std::vector<QPoint>& candidates);
    QPoint clampCell(QPoint cell) const;
    void announceCurrent();

    std::vector<int> widths_;
    std::vector<int> heights_;
    QPoint current_{0, 0};
    bool selecting_ = false;
    int wheelRemainder_ = 0;
    QMenu* popupMenu_ = nullptr;
};

}  // namespace tavlo::calendar
