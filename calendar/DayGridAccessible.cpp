#include "DayGridAccessible.h"

#include "CalendarTexts.h"
#include "DayGrid.h"

#include <QPointer>

namespace tavlo::calendar {

namespace {

constexpr int kColumns = 7;  // Sunday .. Saturday: grid columns 1..7
constexpr int kRows = 6;     // the weeks: grid rows 1..6

class DayGridTable;

// One day of the table. Its grid cell is fixed; what it says is asked of
// the grid's owner each time.
class DayCellAccessible : public QAccessibleInterface,
                          public QAccessibleTableCellInterface,
                          public QAccessibleActionInterface {
public:
    DayCellAccessible(TDayGrid* grid, int row, int column) : grid_(grid), row_(row), column_(column) {}

    bool isValid() const override { return grid_ != nullptr; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return grid_ ? grid_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(grid_.data()); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    QAccessible::Role role() const override { return QAccessible::Cell; }

    QString text(QAccessible::Text t) const override {
        if (t != QAccessible::Name || !grid_ || !grid_->CellName) return {};
        return grid_->CellName(column_ + 1, row_ + 1);
    }
    void setText(QAccessible::Text, const QString&) override {}

    QRect rect() const override {
        if (!grid_) return {};
        const QRect cell = grid_->cellRect(column_ + 1, row_ + 1);
        return {grid_->mapToGlobal(cell.topLeft()), cell.size()};
    }

    QAccessible::State state() const override {
        QAccessible::State state;
        if (!grid_) return state;
        state.selectable = true;
        state.focusable = true;
        const bool current = grid_->column() == column_ + 1 && grid_->row() == row_ + 1;
        state.selected = current;
        state.focused = current && grid_->hasFocus();
        state.invisible = !grid_->isVisible();
        return state;
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TableCellInterface) return static_cast<QAccessibleTableCellInterface*>(this);
        if (type == QAccessible::ActionInterface) return static_cast<QAccessibleActionInterface*>(this);
        return nullptr;
    }

    // QAccessibleTableCellInterface
    bool isSelected() const override { return state().selected; }
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return column_; }
    int rowIndex() const override { return row_; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

    // QAccessibleActionInterface: choosing the day, as a click would.
    QStringList actionNames() const override { return {pressAction(), setFocusAction()}; }
    void doAction(const QString& action) override {
        if (!grid_ || (action != pressAction() && action != setFocusAction())) return;
        QPointer<TDayGrid> grid = grid_;
        const int column = column_ + 1, row = row_ + 1;
        QMetaObject::invokeMethod(
            grid,
            [grid, column, row] {
                grid->setFocus(Qt::OtherFocusReason);
                grid->selectCell(column, row);
            },
            Qt::QueuedConnection);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QPointer<TDayGrid> grid_;
    int row_, column_;
};

class DayGridTable : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit DayGridTable(TDayGrid* grid) : QAccessibleWidget(grid, QAccessible::Table) {}
    ~DayGridTable() override {
        for (const QAccessible::Id id : cells_)
            if (id) QAccessible::deleteAccessibleInterface(id);
    }

    TDayGrid* grid() const { return static_cast<TDayGrid*>(widget()); }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    int childCount() const override { return kColumns * kRows; }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= childCount()) return nullptr;
        return cellAt(index / kColumns, index % kColumns);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (std::size_t k = 0; k < cells_.size(); ++k)
            if (cells_[k] && QAccessible::accessibleInterface(cells_[k]) == child) return static_cast<int>(k);
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const QPoint cell = grid()->cellAt(grid()->mapFromGlobal(QPoint(x, y)));
        const int index = accessibleCellIndex(cell.x(), cell.y());
        return index < 0 ? nullptr : child(index);
    }
    QAccessibleInterface* focusChild() const override {
        if (!grid()->hasFocus()) return nullptr;
        const int index = accessibleCellIndex(grid()->column(), grid()->row());
        return index < 0 ? nullptr : child(index);
    }

    // QAccessibleTableInterface
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override {
        if (row < 0 || row >= kRows || column < 0 || column >= kColumns) return nullptr;
        QAccessible::Id& id = cells_[static_cast<std::size_t>(row * kColumns + column)];
        if (!id) id = QAccessible::registerAccessibleInterface(new DayCellAccessible(grid(), row, column));
        return QAccessible::accessibleInterface(id);
    }
    int selectedCellCount() const override { return selectedCells().size(); }
    QList<QAccessibleInterface*> selectedCells() const override {
        const int index = accessibleCellIndex(grid()->column(), grid()->row());
        if (index < 0) return {};
        return {child(index)};
    }
    QString columnDescription(int column) const override {
        return column >= 0 && column < kColumns ? texts::weekdayHeading(column + 1, true) : QString();
    }
    QString rowDescription(int) const override { return {}; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    int columnCount() const override { return kColumns; }
    int rowCount() const override { return kRows; }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

private:
    mutable std::vector<QAccessible::Id> cells_ = std::vector<QAccessible::Id>(kColumns * kRows, 0);
};

QAccessibleInterface* dayGridAccessible(const QString& className, QObject* object) {
    if (className != QLatin1String(TDayGrid::staticMetaObject.className())) return nullptr;
    return new DayGridTable(static_cast<TDayGrid*>(object));
}

}  // namespace

void installDayGridAccessibility() {
    static const bool installed = (QAccessible::installFactory(dayGridAccessible), true);
    (void)installed;
}

int accessibleCellIndex(int column, int row) {
    if (column < 1 || column > kColumns || row < 1 || row > kRows) return -1;
    return (row - 1) * kColumns + (column - 1);
}

}  // namespace tavlo::calendar
