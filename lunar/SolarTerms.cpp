#include "SolarTerms.h"

#include "Cycles.h"
#include "NumericRules.h"

#include <cmath>

namespace tavlo::lunar {

double SolarTermDayOfYear(int year, int termNumber) {
    const double y = year <= 0 ? year + 1 : year;
    const double m = y - 100;
    const double n = termNumber;
    const double a = (365.2423112 - 6.4e-14 * (m * m) - 3.047e-8 * m) * y + 15.218427 * n + 1721050.71301;
    const double b = 0.0003 * y - 0.372781384 - 0.2617913325 * n;
    const double d = (1.945 * std::sin(b) - 0.01206 * std::sin(2 * b)) * (1.048994 - 0.00002583 * y);
    const double e = 2.313908653 * y - 0.439822951 - 3.0443 * n;
    const double g = -0.0018 * std::sin(e);
    const int wholeYear = static_cast<int>(y);
    return a + d + g - DayNumber(wholeYear, 1, 0) - 1721425;
}

bool SolarTermDate(int year, int termIndex, int& month, int& day) {
    if (termIndex < 0 || termIndex > 23) return false;
    double q = SolarTermDayOfYear(year, termIndex + 1);
    for (int m = 1; m <= 12; ++m) {
        const int length = CivilDaysInMonth(year, m);
        // A term whose instant lies in the last day of a month is dated on that day.
        if (Floor(q) <= length) {
            month = m;
            day = FloorToInt(q);
            return true;
        }
        q -= length;
    }
    return false;
}

std::string SolarTermOfCivilDate(int year, int month, int day) {
    const int first = 2 * (month - 1);
    int termMonth = 0;
    int termDay = 0;
    if (SolarTermDate(year, first, termMonth, termDay) && termMonth == month && termDay == day)
        return SolarTermName((first + 22) % 24);
    if (SolarTermDate(year, first + 1, termMonth, termDay) && termMonth == month && termDay == day)
        return SolarTermName((first + 23) % 24);
    return "";
}

std::string SolarTermOfDate(TDateTime date) {
    const CivilDate labels = DecodeDate(date);
    return SolarTermOfCivilDate(labels.Year, labels.Month, labels.Day);
}

}  // namespace tavlo::lunar
