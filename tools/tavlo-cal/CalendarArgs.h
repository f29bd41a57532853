#pragma once
// Dates on the command line, in the engine's own calendar (Julian through
// 1582-10-04, Gregorian from 1582-10-15, year 0 exists).
#include "CivilCalendar.h"
#include "ToolDescription.h"

#include <optional>
#include <string>
#include <string_view>

namespace tavlo::cal {

// A date the calendar does not have, in Chinese; the tool prints its usage.
using tool::UsageError;

inline constexpr int kFirstYear = -849;
inline constexpr int kLastYear = 2100;

// "YYYY-MM-DD" (the year may carry a "-"): a day of the engine's calendar
// within -849..2100, else UsageError.
lunar::CivilDate parseDay(std::string_view text);
// "YYYY-MM": year and month, day 1.
lunar::CivilDate parseMonth(std::string_view text);
// "YYYY" (up to four digits, a "-" allowed).
int parseYear(std::string_view text);
// Today's local date.
lunar::CivilDate today();

// -0849-01-21, 2024-02-10.
std::string formatDate(const lunar::CivilDate& date);
bool existsInCalendar(int year, int month, int day);

}  // namespace tavlo::cal
