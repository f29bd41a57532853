#pragma once
// What the calendar says about the official arrangement, in Chinese.
#include "HolidayTable.h"

#include <string>
#include <string_view>
#include <vector>

namespace tavlo::holidays {

// "休", "班", or "" for an ordinary day.
std::string_view kindMark(DayKind kind);

// The known years in short: "2008—2026年", "2008—2026年、2030年".
std::string knownYearsText(const HolidayTable& table);

// "未收录2030年的放假安排（已收录2008—2026年）".
std::string missingYearText(const HolidayTable& table, int year);

// The arrangement of one day: "春节假期（休）", "调休上班（班）", "" for an
// ordinary day of a known year, MissingYearText for a year without data.
std::string dayArrangementText(const HolidayTable& table, int year, int month, int day);

// The year's arrangement as the notices put it, one holiday a line:
// "春节：2月10日（周六）至2月17日（周六）放假，共8天；2月4日（周日）、2月18日（周日）上班。"
// Empty when the year is not known.
std::vector<std::string> yearArrangementLines(const HolidayTable& table, int year);

}  // namespace tavlo::holidays
