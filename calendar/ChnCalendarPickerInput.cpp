// How the user moves the date of TChnCalendar: the title labels and menus,
// the spin buttons and selection in the day grid. Every path ends in
// ApplyDateTime.
#include "ChnCalendarPicker.h"

#include "Controls.h"
#include "DateTimeValue.h"
#include "DayGrid.h"
#include "SpinButton.h"

#include <QCursor>
#include <QEvent>
#include <QMenu>

namespace tavlo {
namespace {

// The latest day from `day` down to 1 that exists in (year, month); the
// year 0 has none, as the control's years start at 1.
bool lowerToValidDay(int year, int month, int day, double& out) {
    if (year < 1) return false;
    for (; day >= 1; --day) {
        if (lunar::TryEncodeDate(year, month, day, out)) return true;
    }
    return false;
}

// A label opens `menu` at the pointer on a left click and as its context menu.
void attachMenu(widgets::TLabel* label, QMenu* menu) {
    label->setCursor(Qt::PointingHandCursor);
    label->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(label, &widgets::TLabel::clicked, menu, [menu] { menu->popup(QCursor::pos()); });
    QObject::connect(label, &QWidget::customContextMenuRequested, menu,
                     [label, menu](QPoint at) { menu->popup(label->mapToGlobal(at)); });
}

}  // namespace

void TChnCalendar::connectTitleLabels() {
    attachMenu(static_cast<widgets::TLabel*>(MonthLabel), MonthMenu);
    attachMenu(static_cast<widgets::TLabel*>(MonthUnitLabel), MonthMenu);
    attachMenu(static_cast<widgets::TLabel*>(YearLabel), YearMenu);
    attachMenu(static_cast<widgets::TLabel*>(YearUnitLabel), YearMenu);
    auto* today = static_cast<widgets::TLabel*>(TodayLabel);
    today->setCursor(Qt::PointingHandCursor);
    connect(today, &widgets::TLabel::clicked, this, [this] { GoToday(); });
}

void TChnCalendar::syncSpinsToDate() {
    const lunar::CivilDate date = lunar::DecodeDate(dateTime_);
    YearSpin->setPosition(date.Year);
    MonthSpin->setPosition(date.Month);
}

void TChnCalendar::ApplyMonthSpin() {
    const lunar::CivilDate date = lunar::DecodeDate(dateTime_);
    int year = date.Year;
    if (MonthSpin->position() == 13) {
        YearSpin->setPosition(++year);
        MonthSpin->setPosition(1);
    } else if (MonthSpin->position() == 0) {
        YearSpin->setPosition(--year);
        MonthSpin->setPosition(12);
    }
    double target = 0;
    if (lowerToValidDay(year, MonthSpin->position(), date.Day, target)) ApplyDateTime(target);
    // A step refused at the ends of the year range leaves the spins on the shown month.
    syncSpinsToDate();
}

void TChnCalendar::ApplyYearSpin() {
    const lunar::CivilDate date = lunar::DecodeDate(dateTime_);
    double target = 0;
    if (!lowerToValidDay(YearSpin->position(), date.Month, date.Day, target)) target = now();
    ApplyDateTime(target);
    syncSpinsToDate();
}

void TChnCalendar::MonthMenuClick(int tag) {
    MonthSpin->setPosition(tag);
    ApplyMonthSpin();
}

void TChnCalendar::YearMenuClick(int tag) {
    YearSpin->setPosition(tag);
    ApplyYearSpin();
}

bool TChnCalendar::GridSelectCell(int column, int row) {
    if (SyncingSelection) return true;
    if (column == 0 || column == 8 || row == 0) return false;
    const int index = calendar::CellIndex(column, row);
    if (index > calendar::kLastDayCell || !month_.Cells[index].Valid) return false;
    try {
        const lunar::CivilDate date = lunar::DecodeDate(dateTime_);
        ApplyDateTime(lunar::EncodeDate(date.Year, date.Month, month_.Cells[index].Day));
        if (MouseDownInGrid) emit OnDateClick(this);
    } catch (...) {
        // A failed choice (a handler's error included) falls back to today, silently.
        GoToday();
    }
    return true;
}

void TChnCalendar::GridMouseDown() {
    MouseDownInGrid = true;
}

void TChnCalendar::GridClick() {
    const QPoint cell = DayGrid->cellAt(DayGrid->mapFromGlobal(QCursor::pos()));
    if (cell == QPoint(DayGrid->column(), DayGrid->row())) emit OnDateSelect(this);
}

void TChnCalendar::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    MouseDownInGrid = false;
}

// The pointer leaving the grid, a label or a spin button ends the press
// that OnDateClick waits for.
bool TChnCalendar::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Leave) MouseDownInGrid = false;
    return QWidget::eventFilter(watched, event);
}

}  // namespace tavlo
