#pragma once
// The engine's own civil calendar: Julian before 1582-10-05, ten dropped days,
// Gregorian from 1582-10-15; years run through 0 and may be negative.
#include <cstdint>
#include <optional>

namespace tavlo::lunar {

struct CivilDate {
    int32_t Year = 0;
    int32_t Month = 0;
    int32_t Day = 0;
    friend bool operator==(const CivilDate&, const CivilDate&) = default;
};

// 1 Julian, 0 one of the ten dropped days of October 1582, 2 Gregorian.
int CalendarKind(int year, int month, int day);
bool IsCivilLeapYear(int year);
// 0 for a month outside 1..12; October 1582 keeps its 31 days here.
int CivilDaysInMonth(int year, int month);
// Day 0 of January is allowed and gives 0.
int CivilDayOfYear(int year, int month, int day);
// Continuous day count: Gregorian 0001-01-01 is day 1, the dropped days are 0.
int DayNumber(int year, int month, int day);
// Inverse of DayNumber for n >= 0; no date below 0.
std::optional<CivilDate> DayNumberToDate(int dayNumber);
// The day after `date` in this calendar: 1582-10-04 is followed by 10-15.
CivilDate NextCivilDate(CivilDate date);
// 1 when a is later, 0 when equal, -1 when earlier.
int CompareCivilDates(const CivilDate& a, const CivilDate& b);

inline constexpr int kFirstGregorianDayNumber = 577736;  // 1582-10-15

}  // namespace tavlo::lunar
