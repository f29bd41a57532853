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

// What a conversion did: a date, or why there is none.
enum class ConversionResult {
    Converted,
    OutOfRange,       // a civil year outside -849..2100, or a search that had to probe a day without a
                      // lunar date (before day number 0, or in 2101)
    NoSuchLeapMonth,  // a leap month asked of a year whose leap month (if any) has another number
    NoSuchDay,        // the search closed in on no date: the year has no such month or day
    TooManyProbes,    // 100 probes without the date: the search stalls between two days on
                      // a day the month does not have (day 30 of a 29-day month)
};

// Civil years -849..2100; on failure `out` is left as it was.
ConversionResult convertSolarToLunar(int year, int month, int day, LunarDate& out);
ConversionResult convertLunarToSolar(const LunarDate& lunar, CivilDate& out);

// The same, as the success flag the rest of the engine tests.
bool SolarToLunar(int year, int month, int day, LunarDate& out);
bool SolarToLunarMonthDay(int year, int month, int day, int& lunarMonth, int& lunarDay, bool& leap);
bool LunarToSolar(const LunarDate& lunar, CivilDate& out);

}  // namespace tavlo::lunar
