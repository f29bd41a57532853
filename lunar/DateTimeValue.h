#pragma once
// The platform's date-time value: days since 1899-12-30, the time of day as
// the fraction. Its calendar days are proleptic Gregorian in astronomical
// year numbering (year 0 exists), for any year the engine can meet.
#include "CivilCalendar.h"

namespace tavlo::lunar {

using TDateTime = double;

// Midnight of a proleptic Gregorian date; false (out untouched) when the
// labels name no such day (month outside 1..12, day outside the month).
bool TryEncodeDate(int year, int month, int day, TDateTime& out);

// As TryEncodeDate; throws std::invalid_argument for a day that does not exist.
TDateTime EncodeDate(int year, int month, int day);

// The calendar day of a value is its whole part, cut toward zero (so -1.25 is
// 1899-12-29 at 06:00, as the date type has always read negative values).
CivilDate DecodeDate(TDateTime value);

// 0 = Sunday .. 6 = Saturday, of the value's calendar day.
int WeekdayOf(TDateTime value);

// Weekday of proleptic Gregorian labels, computed for any labels
// (February 29 of a common year reads as March 1).
int GregorianWeekday(int year, int month, int day);

bool IsGregorianLeapYear(int year);

}  // namespace tavlo::lunar
