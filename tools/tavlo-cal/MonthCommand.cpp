// tavlo-cal month [YYYY-MM]: the month as a grid, Sunday first, each day with
// its official mark (休 or 班) and the lunar text the calendar control would
// show under it.
#include "CalendarArgs.h"
#include "ChnCal.h"
#include "Commands.h"
#include "Cycles.h"
#include "EraTable.h"
#include "HolidayTexts.h"
#include "StandardOutput.h"
#include "TextColumns.h"

#include <cstdio>

namespace tavlo::cal {
namespace {

constexpr int kCellWidth = 8;

// Lunar festival, else solar term, else Gregorian festival, else the month
// name on a first lunar day, else the lunar day name.
std::string lunarLine(const lunar::TChnCal& cal) {
    if (!cal.LunarHoliday.empty()) return cal.LunarHoliday;
    if (!cal.SolarTerm.empty()) return cal.SolarTerm;
    if (!cal.Holiday.empty()) return cal.Holiday;
    if (cal.LunarDayName == "初一") return cal.LunarMonthName;
    return cal.LunarDayName;
}

int yearLength(int year) {
    return lunar::IsCivilLeapYear(year) ? 366 : 365;
}

// 0 = Sunday. The engine's day numbers run evenly from year 1 on; earlier
// days are counted back by the year lengths of the engine's calendar.
int weekdayOf(const lunar::CivilDate& date) {
    long long count = 0;
    if (date.Year >= 1) {
        count = lunar::DayNumber(date.Year, date.Month, date.Day);
    } else {
        count = lunar::DayNumber(1, 1, 1);
        for (int year = date.Year; year <= 0; ++year) count -= yearLength(year);
        count += lunar::CivilDayOfYear(date.Year, date.Month, date.Day) - 1;
    }
    return static_cast<int>(((count % 7) + 7) % 7);  // day number 1 was a Monday
}

std::string header(const lunar::CivilDate& month) {
    const int width = 7 * kCellWidth;
    const std::string title = std::to_string(month.Year) + "年" + std::to_string(month.Month) + "月";
    std::string cycle = lunar::GanZhiName(lunar::YearCycleIndex(month.Year)) + "年 " +
                        lunar::AnimalName(lunar::AnimalIndex(month.Year)) + "年";
    const std::string era = lunar::EraText(month.Year);
    if (!era.empty()) cycle += " " + era;
    std::string text = centred(title, width) + "\n" + centred(cycle, width) + "\n";
    for (const char* name : {"日", "一", "二", "三", "四", "五", "六"})
        text += padRight(std::string("  ") + name, kCellWidth);
    return text + "\n";
}

// Days before 1582 carry Julian labels; the table knows no year that early.
holidays::DayKind kindOf(const holidays::HolidayTable& table, const lunar::CivilDate& day) {
    const holidays::HolidayRange* range = table.find(day.Year, day.Month, day.Day);
    return range ? range->kind : holidays::DayKind::Ordinary;
}

}  // namespace

void runMonth(const std::vector<std::string>& args, const holidays::HolidayTable& table) {
    lunar::CivilDate month = args.empty() ? today() : parseMonth(args[0]);
    month.Day = 1;
    if (month.Year < kFirstYear || month.Year > kLastYear) throw tool::Failure("本月不在 -849 至 2100 年之内");

    std::string text = header(month);
    std::string numbers(static_cast<std::size_t>(weekdayOf(month) * kCellWidth), ' ');
    std::string texts = numbers;
    int column = weekdayOf(month);
    bool marked = false;
    lunar::TChnCal cal;
    // NextCivilDate goes from 1582-10-04 to 10-15, as the weekdays do.
    for (lunar::CivilDate day = month; day.Month == month.Month && day.Year == month.Year;
         day = lunar::NextCivilDate(day)) {
        cal.AnalyseCivilDate(day.Year, day.Month, day.Day);
        const std::string_view mark = holidays::kindMark(kindOf(table, day));
        marked = marked || !mark.empty();
        numbers += padRight(padLeft(std::to_string(day.Day), 4) + std::string(mark), kCellWidth);
        texts += padRight(" " + lunarLine(cal), kCellWidth);
        if (++column == 7) {
            text += numbers + "\n" + texts + "\n";
            numbers.clear();
            texts.clear();
            column = 0;
        }
    }
    if (column != 0) text += numbers + "\n" + texts + "\n";
    if (marked) text += "休：放假　班：调休上班\n";
    if (!table.hasYear(month.Year)) text += holidays::missingYearText(table, month.Year) + "\n";
    tool::writeOut(text);
}

}  // namespace tavlo::cal
