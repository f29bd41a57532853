#pragma once
// Conversions between the civil calendar and the Chinese lunisolar calendar,
// computed afresh on every call from the mean-phase series: nothing is cached
// and no month table is stored.
#include "CivilCalendar.h"

#include <cstdint>
#include <optional>

namespace tavlo::lunar {

struct LunarDate {
    int32_t Year = 0;
    int32_t Month = 0;  // 1..12; a leap month has the number of the month it repeats
    int32_t Day = 0;    // 1..30, -1 for the dropped days of 1582
    bool Leap = false;
};

struct LunarDayResult {
    int Day = -1;                         // 1..30, -1 when no new moon qualified
    std::optional<double> PhaseFraction;  // time of day of the new or full moon on this day
};

// 1, 0 or -1: year, then month, then the day when the leap flags agree;
// of two dates in a month and its leap month the leap one is later.
int CompareLunarDates(const LunarDate& a, const LunarDate& b);

LunarDayResult LunarDayOf(int year, int month, int day);
// The lunar month number, negative for a leap month.
int LunarMonthOf(int year, int month, int day);

// Civil years -849..2100; on failure `out` is left as it was.
bool SolarToLunar(int year, int month, int day, LunarDate& out);
bool SolarToLunarMonthDay(int year, int month, int day, int& lunarMonth, int& lunarDay, bool& leap);
bool LunarToSolar(const LunarDate& lunar, CivilDate& out);

}  // namespace tavlo::lunar
