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
    QColor WorkDayMark = bgr(0x404040);  // 班: dark enough to read beside a red weekend number
    bool ShowWeekNum = false;
    bool ShowWeekNumLine = true;
    bool HideSelection = false;
    bool ShowHolidayMarks = true;
    int TodayDay = 0;  // the day of the shown month that is today, marked wherever the selection is; 0 for none
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

// The 休/班 mark's box in the top left corner of a w × h day cell, clear of
// the day number and of marks a host draws in the top right corner.
QRect HolidayMarkBox(int w, int h);

// Where a w × h day cell's two lines go: the day number above the lunar
// text, their ink spaced evenly, so that neither touches the other nor the
// next row's. Boxes for top-aligned text in the given fonts.
struct DayLineBoxes {
    QRect day, lunar;
};
DayLineBoxes DayLines(const QFont& dayFont, const QFont& lunarFont, int w, int h);

// Black or white, whichever reads better (WCAG contrast) on both colours.
QColor ReadableOn(const QColor& a, const QColor& b);

}  // namespace tavlo::calendar
