#pragma once
// The month a calendar shows, as texts and colours per grid cell: computed
// once per date change, so that painting only looks them up.
#include "BgrColour.h"
#include "ChnCal.h"
#include "HolidayTable.h"

#include <QColor>
#include <QPoint>
#include <QString>

#include <array>

namespace tavlo::calendar {

struct TDayCell {
    int Day = 0;
    bool Valid = false;
    QString DayText;
    QString CnMonthText;
    QString CnDayText;
    QString CnText;  // the lunar line actually shown
    QColor DayColor;
    QColor CnColor;
    holidays::DayKind Arrangement = holidays::DayKind::Ordinary;  // 休, 班 or neither
};

// The colours a rebuild writes into the cells.
struct TCellColours {
    QColor Date = bgr(0x4F4F4F);
    QColor CnDate = bgr(0x008000);
    QColor Holiday = bgr(0x0080FF);
    QColor LunarHolDay = bgr(0xFF5353);
    QColor CnHolDay = bgr(0x0080FF);
};

inline constexpr int kCellCount = 42;
inline constexpr int kLastDayCell = 37;
inline constexpr int kConstellationCell = 40;
inline constexpr int kGanZhiCell = 41;
inline constexpr int kAnimalCell = 42;

// Cell i (1..42) sits in column x (1..7) and row y (1..6); the inverse of
// CellIndex.
QPoint CellPosition(int index);
inline int CellIndex(int column, int row) {
    return column + (row - 1) * 7;
}

// ISO 8601 week of a proleptic Gregorian date.
int IsoWeekNumber(int year, int month, int day);

class TMonthModel {
public:
    // Indexed 1..42 and 1..6; entry 0 is unused.
    std::array<TDayCell, kCellCount + 1> Cells;
    std::array<QString, 7> WeekNumbers;

    int Year = 0, MonthNumber = 0, DayNumber = 0;
    QString CnMonth, CnDay, CnDate;
    QString StatusText;
    int SelectedCell = 0;  // the cell of the selected day, 0 before any rebuild

    // Fills everything for the month of `dateTime` (whose year must lie in
    // 1..2100); one engine analysis for the date and one per day, and one
    // look-up of each day in `holidayTable` when given.
    void Rebuild(lunar::TChnCal& engine, lunar::TDateTime dateTime, const TCellColours& colours,
                 const holidays::HolidayTable* holidayTable = nullptr);
};

}  // namespace tavlo::calendar
