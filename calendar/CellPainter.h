#pragma once
// Draws one grid cell of the calendar, whole, into an off-screen image:
// the weekday row, the week numbers, the day cells and the information
// cells, over the piece of the composed background that lies under it.
#include "DayGrid.h"
#include "MonthModel.h"

#include <QColor>
#include <QFont>
#include <QImage>

#include <functional>

class QPainter;

namespace tavlo::calendar {

struct TCellStyle {
    QFont Font;  // the control's font: the weekday row
    QFont FontDate;
    QFont FontCnDate;
    QColor TitleWeekLine = bgr(0xC5C5C5);
    QColor TitleWeekEnd = bgr(0x0000FF);
    QColor TitleWeek = bgr(0x4F4F4F);
    QColor SelectedStart = bgr(0x53AE00);
    QColor SelectedEnd = bgr(0x65D500);
    QColor SelectedFrame = bgr(0x469300);
    QColor WeekNum = bgr(0x808080);
    QColor TitleConstellation = bgr(0);
    QColor TitleAnimalsYear = bgr(0);
    QColor RestDayMark = bgr(0x0000FF);  // 休
    QColor WorkDayMark = bgr(0x808080);  // 班
    bool ShowWeekNum = false;
    bool ShowWeekNumLine = true;
    bool HideSelection = false;
    bool ShowHolidayMarks = true;
};

// An owner-draw hook for one line of a day cell (the control adds itself as
// the sender).
using TCellHook =
    std::function<void(int day, QPainter& canvas, const QRect& cell, bool selected, QString& text, bool& defaultDraw)>;

struct TCellHooks {
    TCellHook DateCell;
    TCellHook CnDateCell;
};

// Draws cell (column, row), at `rect` in the grid, into `cell`; `back` is
// the composed background and `gridOrigin` the grid's place on it.
void PaintCell(QImage& cell, const QImage& back, QPoint gridOrigin, int column, int row, const QRect& rect,
               TCellState state, const TMonthModel& month, const TCellStyle& style, const TCellHooks& hooks);

// The weekday heading of column 1..7 (Sunday .. Saturday) for a text box
// `textWidth` pixels wide: the long name (星期日) when wider than 36 pixels,
// else one character (日). Chinese whatever the system's locale.
QString WeekdayHeading(int column, int textWidth);

// The 休/班 mark's box in the top right corner of a w × h day cell, clear of
// the day number and of marks a host draws along the bottom.
QRect HolidayMarkBox(int w, int h);

}  // namespace tavlo::calendar
