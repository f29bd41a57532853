// How the user moves the date of TChnCalendar: the title labels and menus,
// the spin buttons and selection in the day grid. Every path ends in
// ApplyDateTime.
#include "ChnCalendarPicker.h"

#include "CalendarTexts.h"
#include "Command.h"
#include "Controls.h"
#include "DateTimeValue.h"
#include "DayGrid.h"
#include "SpinButton.h"

#include <QCursor>
#include <QEvent>
#include <QKeySequence>
#include <QMenu>
#include <QShortcut>

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

// A label opens `menu` at the pointer on a left click and as its context
// menu, and below itself from the keyboard or a screen reader.
void attachMenu(widgets::TLabel* label, QMenu* menu) {
    label->setCursor(Qt::PointingHandCursor);
    label->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(label, &widgets::TLabel::clicked, menu, [menu] { menu->popup(QCursor::pos()); });
    QObject::connect(label, &QWidget::customContextMenuRequested, menu,
                     [label, menu](QPoint at) { menu->popup(label->mapToGlobal(at)); });
    QObject::connect(label, &widgets::TLabel::activated, menu,
                     [label, menu] { menu->popup(label->mapToGlobal(QPoint(0, label->height()))); });
}

}  // namespace

// The title's numbers, spin buttons and today mark are reached by Tab in the
// order they stand, before the grid; the unit captions beside the numbers
// only repeat them for the mouse.
void TChnCalendar::connectTitleLabels() {
    namespace texts = calendar::texts;
    auto* month = static_cast<widgets::TLabel*>(MonthLabel);
    auto* year = static_cast<widgets::TLabel*>(YearLabel);
    auto* today = static_cast<widgets::TLabel*>(TodayLabel);
    attachMenu(month, MonthMenu);
    attachMenu(static_cast<widgets::TLabel*>(MonthUnitLabel), MonthMenu);
    attachMenu(year, YearMenu);
    attachMenu(static_cast<widgets::TLabel*>(YearUnitLabel), YearMenu);
    today->setCursor(Qt::PointingHandCursor);
    connect(today, &widgets::TLabel::clicked, this, [this] { GoToday(); });
    connect(today, &widgets::TLabel::activated, this, [this] { GoToday(); });
    widgets::makeCommand(month, texts::monthMenuName(), texts::monthMenuTip(), widgets::CommandKind::MenuButton);
    widgets::makeCommand(year, texts::yearMenuName(), texts::yearMenuTip(), widgets::CommandKind::MenuButton);
    widgets::makeCommand(today, texts::todayName(), texts::todayTip());
    MonthSpin->setAccessibleName(texts::monthSpinName());
    MonthSpin->setToolTip(texts::spinTip());
    YearSpin->setAccessibleName(texts::yearSpinName());
    YearSpin->setToolTip(texts::spinTip());
    widgets::setTabChain({month, MonthSpin, year, YearSpin, today, DayGrid});
    connectPageKeys();
}

// Ctrl+PageUp/PageDown turn the month, with Shift the year, wherever the
// focus is in the control (PageUp and PageDown alone move in the grid).
void TChnCalendar::connectPageKeys() {
    const struct {
        QKeySequence keys;
        calendar::TSpinButton* spin;
        int direction;
    } turns[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_PageUp), MonthSpin, -1},
        {QKeySequence(Qt::CTRL | Qt::Key_PageDown), MonthSpin, 1},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_PageUp), YearSpin, -1},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_PageDown), YearSpin, 1},
    };
    for (const auto& turn : turns) {
        auto* shortcut = new QShortcut(turn.keys, this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        calendar::TSpinButton* spin = turn.spin;
        const int direction = turn.direction;
        connect(shortcut, &QShortcut::activated, spin, [spin, direction] { spin->step(direction); });
    }
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
