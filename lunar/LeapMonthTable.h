#pragma once
// The stored leap-month table and the per-year month-numbering offsets.
#include <string_view>

namespace tavlo::lunar {

// 2950 characters, one per civil year -849..2100; the year y is at y + 849.
extern const std::string_view LeapMonthTable;

// 0..12 (the month the year's leap month repeats, 0 for none), or -1 for a
// year outside -849..2100.
int LeapMonthCode(int year);
// LeapMonthCode with -1 read as 0.
int LeapMonthOf(int year);
// Years from -849 through `year`, inclusive, that have a leap month.
int LeapMonthsThrough(int year);
// Shift of the month numbering for historical periods.
int MonthOffset(int year);

}  // namespace tavlo::lunar
