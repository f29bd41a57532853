#include "CivilCalendar.h"

namespace tavlo::lunar {

int CalendarKind(int year, int month, int day) {
    if (year < 1582) return 1;
    if (year == 1582 && month < 10) return 1;
    if (year == 1582 && month == 10) {
        if (day <= 4) return 1;
        if (day <= 14) return 0;
    }
    return 2;
}

bool IsCivilLeapYear(int year) {
    if (CalendarKind(year, 1, 1) == 2) return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
    // The engine's Julian rule: for negative years -1, -5, -9 ... are leap.
    if (year >= 0) return year % 4 == 0;
    return (year - 3) % 4 == 0;
}

int CivilDaysInMonth(int year, int month) {
    switch (month) {
    case 1:
    case 3:
    case 5:
    case 7:
    case 8:
    case 10:
    case 12: return 31;
    case 4:
    case 6:
    case 9:
    case 11: return 30;
    case 2: return IsCivilLeapYear(year) ? 29 : 28;
    default: return 0;
    }
}

int CivilDayOfYear(int year, int month, int day) {
    int days = day;
    for (int m = 1; m < month; ++m) days += CivilDaysInMonth(year, m);
    return days;
}

int DayNumber(int year, int month, int day) {
    const int e = year - 1;
    const int n = CivilDayOfYear(year, month, day);
    switch (CalendarKind(year, month, day)) {
    case 1: return n + 365 * e + e / 4 - 2;
    case 2: return n + 365 * e + e / 4 - e / 100 + e / 400;
    default: return 0;
    }
}

std::optional<CivilDate> DayNumberToDate(int dayNumber) {
    if (dayNumber < 0) return std::nullopt;
    // A close guess at the year, then exact steps; from day 0 on every year
    // is positive, where the count is monotonic.
    int year = static_cast<int>(dayNumber / 365.2425) + 1;
    while (year > 1 && DayNumber(year, 1, 1) > dayNumber) --year;
    while (DayNumber(year + 1, 1, 1) <= dayNumber) ++year;
    int month = 12;
    while (month > 1 && DayNumber(year, month, 1) > dayNumber) --month;
    int day = dayNumber - DayNumber(year, month, 1) + 1;
    if (year == 1582 && month == 10 && day > 4) day += 10;  // skip the dropped days
    return CivilDate{year, month, day};
}

CivilDate NextCivilDate(CivilDate date) {
    date.Day += 1;
    if (date.Year == 1582 && date.Month == 10 && date.Day == 5) date.Day = 15;
    if (date.Day > CivilDaysInMonth(date.Year, date.Month)) {
        date.Day = 1;
        if (++date.Month > 12) {
            date.Month = 1;
            ++date.Year;
        }
    }
    return date;
}

int CompareCivilDates(const CivilDate& a, const CivilDate& b) {
    if (a.Year != b.Year) return a.Year > b.Year ? 1 : -1;
    if (a.Month != b.Month) return a.Month > b.Month ? 1 : -1;
    if (a.Day != b.Day) return a.Day > b.Day ? 1 : -1;
    return 0;
}

}  // namespace tavlo::lunar
