#include "Reminder.h"

#include "LeapMonthTable.h"
#include "LunarDate.h"

namespace tavlo::reminders {
namespace {

using lunar::CivilDate;

constexpr int kFirstYear = -849, kLastYear = 2100;

std::optional<CivilDate> lunarOccurrence(const Reminder& reminder, int year) {
    // Without the leap month that year, the ordinary month of its number.
    const bool leap = reminder.leap && lunar::LeapMonthOf(year) == reminder.month;
    lunar::LunarDate wanted{year, reminder.month, reminder.day, leap};
    CivilDate date;
    if (lunar::convertLunarToSolar(wanted, date) == lunar::ConversionResult::Converted) return date;
    // A 30th in a month of 29 days: the month's last day.
    wanted.Day = 29;
    if (reminder.day == 30 && lunar::convertLunarToSolar(wanted, date) == lunar::ConversionResult::Converted)
        return date;
    return std::nullopt;
}

}  // namespace

std::optional<CivilDate> occurrenceIn(const Reminder& reminder, int year) {
    if (year < kFirstYear || year > kLastYear) return std::nullopt;
    switch (reminder.kind) {
    case Reminder::Kind::Lunar: return lunarOccurrence(reminder, year);
    case Reminder::Kind::Solar: {
        int day = reminder.day;
        if (reminder.month == 2 && day == 29 && !lunar::IsCivilLeapYear(year)) day = 28;
        if (reminder.month < 1 || reminder.month > 12 || day < 1 || day > lunar::CivilDaysInMonth(year, reminder.month))
            return std::nullopt;
        return CivilDate{year, reminder.month, day};
    }
    case Reminder::Kind::Once:
        if (year != reminder.year) return std::nullopt;
        if (reminder.month < 1 || reminder.month > 12 || reminder.day < 1 ||
            reminder.day > lunar::CivilDaysInMonth(year, reminder.month))
            return std::nullopt;
        return CivilDate{year, reminder.month, reminder.day};
    }
    return std::nullopt;
}

std::vector<CivilDate> occurrencesBetween(const Reminder& reminder, const CivilDate& first, const CivilDate& last) {
    std::vector<CivilDate> dates;
    // A lunar year starts in January or February: its dates reach into the
    // next civil year, so the lunar year before the first civil one counts.
    for (int year = first.Year - 1; year <= last.Year; ++year) {
        const std::optional<CivilDate> date = occurrenceIn(reminder, year);
        if (date && lunar::CompareCivilDates(*date, first) >= 0 && lunar::CompareCivilDates(*date, last) <= 0 &&
            (dates.empty() || !(dates.back() == *date)))
            dates.push_back(*date);
    }
    return dates;
}

bool dueOn(const Reminder& reminder, const CivilDate& day) {
    const int today = lunar::DayNumber(day.Year, day.Month, day.Day);
    const std::optional<CivilDate> last = lunar::DayNumberToDate(today + reminder.daysAhead);
    if (!last) return false;
    for (const CivilDate& date : occurrencesBetween(reminder, day, *last)) {
        const int distance = lunar::DayNumber(date.Year, date.Month, date.Day) - today;
        if (distance == 0 || distance == reminder.daysAhead) return true;
    }
    return false;
}

}  // namespace tavlo::reminders
