// The lunar day of a civil date from a truncated series of the mean lunar
// phases, and the fixed corrections for months where that series misses the
// day of the new moon.
#include "LunarDate.h"
#include "NumericRules.h"

#include <cmath>

namespace tavlo::lunar {
namespace {

constexpr double kTwoPi = 2.0 * 3.141592653589793;
constexpr double kDegreesPerRadian = 57.29577951308232;

struct MeanAngles {
    double sunAnomaly;    // M0
    double moonAnomaly;   // M1
    double moonLatitude;  // F0
};

double meanAngle(double rate, double k, double c0, double c2, double c3, double t) {
    const double t2 = t * t;
    const double t3 = t2 * t;
    return kTwoPi * FracPart(rate * k) + c0 / kDegreesPerRadian - c2 / kDegreesPerRadian * t2 -
           c3 / kDegreesPerRadian * t3;
}

MeanAngles meanAnglesAt(double k, double t) {
    return {meanAngle(0.08084821133, k, 359.2242, 0.0000333, 0.00000347, t),
            meanAngle(0.07171366128, k, 306.0253, -0.0107306, -0.00001236, t),
            meanAngle(0.08519585128, k, 21.2964, 0.0016528, 0.00000239, t)};
}

// A correction adds `delta` to the computed lunar day over one window of dates.
struct DayCorrection {
    CivilDate first;
    CivilDate last;
    int delta;
};

// 1924 and 2018 mend months the series gets wrong. 1914, 1916 and 1920: the
// series puts the new moon minutes after midnight (UTC+8) where the calendars
// of the time, reckoned in Beijing local time, put it before; without them the
// Spring Festival of 1916 falls on 02-04 instead of 02-03. No 2025 window: the
// uncorrected series already gives the published calendar for all of 2025.
constexpr DayCorrection kCorrections[] = {
    {{1914, 11, 17}, {1914, 12, 16}, +1}, {{1916, 2, 3}, {1916, 3, 3}, +1},   {{1920, 11, 10}, {1920, 12, 9}, +1},
    {{1924, 3, 5}, {1924, 4, 3}, +1},     {{2018, 11, 7}, {2018, 12, 6}, -1},
};

int corrected(int lunarDay, const CivilDate& date) {
    for (const DayCorrection& c : kCorrections) {
        if (CompareCivilDates(date, c.first) < 0 || CompareCivilDates(date, c.last) > 0) continue;
        lunarDay += c.delta;
        if (lunarDay > 30) lunarDay -= 30;
        if (lunarDay < 1) lunarDay += 30;
    }
    return lunarDay;
}

}  // namespace

LunarDayResult LunarDayOf(int year, int month, int day) {
    const int dn = DayNumber(year, month, day);
    const double k = Floor((year - 1900) * 12.3685);
    const double t = (year - 1899.5) / 100;
    const MeanAngles angles = meanAnglesAt(k, t);
    // 1/3 day moves the instants to Beijing time, 0.5 from noon- to midnight-based days.
    const double t2 = t * t;
    const double t3 = t2 * t;
    const double p = 0.75933 - 0.0002172 * t2 - 0.000000155 * t3 + 0.53058868 * k - 0.000837 * t + 1.0 / 3 + 0.5;
    const double c1 = 0.1734 - 0.000393 * t;
    const double b0 = 29 * k + 693595;

    int result = -1;
    double u = -1;
    int fullMoonDay = 0;      // o
    double newMoonFrac = 0;   // t of the series
    double fullMoonFrac = 0;  // r
    // v = -1, -0.5, ... 13: whole v are new moons, half v full moons.
    for (int step = -2; step <= 26; ++step) {
        const double v = step * 0.5;
        const double a = angles.sunAnomaly + 0.507984293 * v;
        const double b = angles.moonAnomaly + 6.73377553 * v;
        const double l = angles.moonLatitude + 6.818486628 * v;
        const double s = c1 * std::sin(a) + 1.53058868 * v + p - 0.4068 * std::sin(b) + 0.0021 * std::sin(2 * a) +
                         0.0161 * std::sin(2 * b) + 0.0104 * std::sin(2 * l) - 0.0074 * std::sin(a - b) -
                         0.0051 * std::sin(a + b);
        const double j = 28 * v + b0 + s;
        const int phaseDay = FloorToInt(j);
        if (step % 2 == 0 && dn - phaseDay >= 0 && dn - phaseDay <= 29) {
            // A later qualifying new moon overwrites an earlier one.
            result = dn - phaseDay + 1;
            u = v;
            newMoonFrac = FracPart(j);
        }
        if (v == u + 0.5) {
            fullMoonDay = phaseDay - (dn - result + 1) + 1;
            fullMoonFrac = FracPart(j);
        }
    }

    result = corrected(result, CivilDate{year, month, day});
    LunarDayResult out;
    out.Day = result;
    if (result == 1)
        out.PhaseFraction = newMoonFrac;
    else if (result == fullMoonDay)
        out.PhaseFraction = fullMoonFrac;
    return out;
}

}  // namespace tavlo::lunar
