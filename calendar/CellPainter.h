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
    QColor TitleWeekLine, TitleWeekEnd, TitleWeek;
    QColor SelectedStart, SelectedEnd, SelectedFrame;
    QColor WeekNum, TitleConstellation, TitleAnimalsYear;
    bool ShowWeekNum = false;
    bool ShowWeekNumLine = true;
    bool HideSelection = false;
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
// `textWidth` pixels wide: the locale's long name when wider than 36 pixels.
QString WeekdayHeading(int column, int textWidth);

}  // namespace tavlo::calendar
