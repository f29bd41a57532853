#pragma once
// The 24 solar terms from a closed formula, in the engine's civil calendar.
#include "DateTimeValue.h"

#include <string>

namespace tavlo::lunar {

// Day of the year (1-based once floored) of term number n (1 小寒 .. 24 冬至,
// 25 the next year's 小寒), with the time of day as fraction, Beijing time.
double SolarTermDayOfYear(int year, int termNumber);
// Month and day of term index 0..23 (term number - 1); false outside 0..23.
bool SolarTermDate(int year, int termIndex, int& month, int& day);
// Name of the term falling on the date, or "". Only the two terms that belong
// to the date's civil month are tried.
std::string SolarTermOfDate(TDateTime date);
std::string SolarTermOfCivilDate(int year, int month, int day);

}  // namespace tavlo::lunar
