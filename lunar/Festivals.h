#pragma once
// Gregorian and lunar festivals of a day.
#include "DateTimeValue.h"
#include "LunarDate.h"

#include <string>

namespace tavlo::lunar {

// Festival of the date by its civil month and the given day of that month; the
// weekday rules read the date's proleptic Gregorian labels. "" when none.
std::string HolidayOf(int dayOfMonth, TDateTime date);
// Festival by lunar month and day (the leap flag is not consulted); "除夕"
// when the next day opens the first lunar month. "" when none.
std::string LunarHolidayOf(int lunarMonth, int lunarDay, TDateTime date);
// SolarToLunar of the date's year, month and day.
bool LunarDateOf(TDateTime date, LunarDate& out);

}  // namespace tavlo::lunar
