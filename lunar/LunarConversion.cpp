// Lunar month numbers by counting mean synodic months from the epoch, and the
// conversions built on them.
#include "LeapMonthTable.h"
#include "LunarDate.h"
#include "NumericRules.h"

#include <cstdlib>

namespace tavlo::lunar {
namespace {

constexpr int kFirstYear = -849;
constexpr int kLastYear = 2100;
constexpr double kMeanSynodicMonth = 29.530588;

int sign(int value) {
    return value > 0 ? 1 : (value < 0 ? -1 : 0);
}

// Lunar day of the date with its phase fraction, folded to 0..99 and floored.
int lunarDayForCount(const LunarDayResult& lunarDay) {
    double x = lunarDay.Day;
    if (lunarDay.PhaseFraction) x += *lunarDay.PhaseFraction;
    x = x - 100 * Floor(x / 100);
    return FloorToInt(x);
}

// LunarMonthOf for a date whose LunarDayOf is already known: the conversions
// pass theirs in rather than evaluate the same series twice for one date.
int lunarMonthFromDay(int year, int month, int day, const LunarDayResult& lunarDay) {
    const int e = lunarDayForCount(lunarDay);
    // Mean months from the epoch (-849-01-21) to the start of the date's lunar month.
    const int n = RoundToInt((DayNumber(year, month, day) - DayNumber(-849, 1, 21) - e) / kMeanSynodicMonth);
    // Every leap month of the year is subtracted, even one later in the year;
    // the steps below repair the months before it.
    const int g = n - LeapMonthsThrough(year) + MonthOffset(year);
    int v = RoundToInt(RealMod(12, g) + 1);

    const int previous = LeapMonthCode(year - 1);
    if (previous == 12 && month <= 3) {
        // Last year's leap twelfth month lies in January to March, and until
        // it has passed the count is one short: 10 is the eleventh month, 11
        // the twelfth, 12 the leap month itself.
        if (v == 12) return -12;
        if (v >= 10) return v + 1;
    } else if (previous == v && month == 1 && day < e) {
        return -v;  // last year's leap month
    }

    const int w = LeapMonthCode(year);
    if (w == v) {
        // A leap twelfth month falls into the next civil year; within this
        // one the count is one short and 12 is the first month.
        if (w == 12) return 1;
        if (month >= 3) return -v;
        // January and February come before this year's leap month, so the
        // count is one short (v is last year's month v + 1), except for a
        // leap first month: it begins in February or March, and the second
        // month only after it.
        return w == 1 ? -v : v + 1;
    }
    if (w > v || (month < v && w > 0)) v += 1;
    return RoundToInt(RealMod(12, v - 1) + 1);
}

}  // namespace

int CompareLunarDates(const LunarDate& a, const LunarDate& b) {
    if (a.Year != b.Year) return sign(a.Year - b.Year);
    if (a.Month != b.Month) return sign(a.Month - b.Month);
    if (a.Leap != b.Leap) return a.Leap ? 1 : -1;
    return sign(a.Day - b.Day);
}

int LunarMonthOf(int year, int month, int day) {
    return lunarMonthFromDay(year, month, day, LunarDayOf(year, month, day));
}

bool SolarToLunarMonthDay(int year, int month, int day, int& lunarMonth, int& lunarDay, bool& leap) {
    if (year < kFirstYear || year > kLastYear) return false;
    const LunarDayResult dayResult = LunarDayOf(year, month, day);
    lunarDay = dayResult.Day;
    const int signedMonth = lunarMonthFromDay(year, month, day, dayResult);
    leap = signedMonth < 0;
    lunarMonth = std::abs(signedMonth);
    return true;
}

ConversionResult convertSolarToLunar(int year, int month, int day, LunarDate& out) {
    LunarDate lunar;
    if (!SolarToLunarMonthDay(year, month, day, lunar.Month, lunar.Day, lunar.Leap))
        return ConversionResult::OutOfRange;
    lunar.Year = year;
    // A new year the search cannot find (civil years up to 0, whose search
    // starts below day number 0) leaves the lunar year at the civil one.
    CivilDate newYear;
    if (convertLunarToSolar(LunarDate{year, 1, 1, false}, newYear) == ConversionResult::Converted &&
        CompareCivilDates(CivilDate{year, month, day}, newYear) < 0)
        lunar.Year = year - 1;
    out = lunar;
    return ConversionResult::Converted;
}

bool SolarToLunar(int year, int month, int day, LunarDate& out) {
    return convertSolarToLunar(year, month, day, out) == ConversionResult::Converted;
}

ConversionResult convertLunarToSolar(const LunarDate& lunar, CivilDate& out) {
    if (lunar.Leap && LeapMonthOf(lunar.Year) != lunar.Month) return ConversionResult::NoSuchLeapMonth;

    enum class Direction { None, Forward, Backward };
    int lo = DayNumber(lunar.Year, 1, 1);
    int hi = DayNumber(lunar.Year + 1, 12, 31);
    bool last = false;
    Direction direction = Direction::None;
    // The probe's lunar year is never computed: it starts at the year asked
    // for and follows the wraps of the month number between probes.
    int probeYear = lunar.Year;
    int previousMonth = 0;
    int count = 0;
    while (hi > lo) {
        if (++count > 100) return ConversionResult::TooManyProbes;
        int mid = (lo + hi) / 2;
        if (last) mid += 1;
        if (hi - lo == 1) last = true;

        // A probe without a lunar date (a day number below 0, or civil year
        // 2101) ends the search at once: the search cannot go on without it.
        const std::optional<CivilDate> probe = DayNumberToDate(mid);
        LunarDate probed{0, 0, 0, false};
        if (!probe ||
            !SolarToLunarMonthDay(probe->Year, probe->Month, probe->Day, probed.Month, probed.Day, probed.Leap))
            return ConversionResult::OutOfRange;

        if (direction == Direction::Forward && probed.Month < previousMonth) ++probeYear;
        if (direction == Direction::Backward && probed.Month > previousMonth) --probeYear;
        probed.Year = probeYear;

        const int order = CompareLunarDates(probed, lunar);
        if (order == 0) {
            out = *probe;
            return ConversionResult::Converted;
        }
        if (order < 0) {
            lo = mid;
            direction = Direction::Forward;
        } else {
            hi = mid;
            direction = Direction::Backward;
        }
        previousMonth = probed.Month;
    }
    return ConversionResult::NoSuchDay;
}

bool LunarToSolar(const LunarDate& lunar, CivilDate& out) {
    return convertLunarToSolar(lunar, out) == ConversionResult::Converted;
}

}  // namespace tavlo::lunar
