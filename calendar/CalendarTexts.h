#pragma once
#include "HolidayTable.h"

#include <QString>

// Every text of the calendar control that a user may see: its captions,
// menus, marks and the words around the engine's names.
namespace tavlo::calendar::texts {

// The month and year menus.
QString today();               // "今日"
QString monthName(int month);  // 1..12: "一月" … "十二月"
QString history();             // "历史日期"

// The captions beside the year and month, and the today mark.
QString yearUnit();   // "年"
QString monthUnit();  // "月"
QString todayMark();  // "今天"

// The title's controls to the keyboard and screen readers: names and tips.
QString todayName();  // the today mark, a command
QString todayTip();
QString monthMenuName();  // the month number, opening the month menu
QString monthMenuTip();
QString yearMenuName();  // the year number, opening the year menu
QString yearMenuTip();
QString monthSpinName();  // the spin buttons
QString yearSpinName();
QString spinTip();

// What a day cell says to a screen reader: "2020年7月7日 星期二", then
// today, the lunar day, the festival or term, 休/班 and the host's words,
// each after a comma where present.
QString dayCellName(int year, int month, int day, int weekdayColumn, bool today, const QString& lunarDay,
                    const QString& festival, holidays::DayKind kind, const QString& extra);
QString gridName();  // the day grid: "日历"

// A day's mark: a rest day or a make-up workday.
QString restDayMark();  // "休"
QString workDayMark();  // "班"

// The weekday heading of a column (1 = Sunday): "日" … "六", or with
// "星期" before it where there is room.
QString weekdayHeading(int column, bool wide);

// The animal cell ("龙年") and the status line's lunar date (" 农历…").
QString animalYear(const QString& animal);
QString lunarDate(const QString& date);

}  // namespace tavlo::calendar::texts
