#include "DateTimeValue.h"

#include <cmath>
#include <stdexcept>

namespace tavlo::lunar {
namespace {

// Days from 1970-01-01 of a proleptic Gregorian date; floored arithmetic so
// that it holds for every year, negative ones included.
long long daysFromCivil(long long y, int m, int d) {
    y -= m <= 2 ? 1 : 0;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

CivilDate civilFromDays(long long z) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const long long year = yoe + era * 400 + (month <= 2 ? 1 : 0);
    return {static_cast<int>(year), month, day};
}

const long long kSerialZero = daysFromCivil(1899, 12, 30);

int gregorianDaysInMonth(int year, int month) {
    static constexpr int kLengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month == 2 && IsGregorianLeapYear(year)) return 29;
    return kLengths[month - 1];
}

long long floorMod(long long a, long long b) {
    return ((a % b) + b) % b;
}

}  // namespace

bool IsGregorianLeapYear(int year) {
    return floorMod(year, 4) == 0 && (floorMod(year, 100) != 0 || floorMod(year, 400) == 0);
}

bool TryEncodeDate(int year, int month, int day, TDateTime& out) {
    if (month < 1 || month > 12 || day < 1 || day > gregorianDaysInMonth(year, month)) return false;
    out = static_cast<TDateTime>(daysFromCivil(year, month, day) - kSerialZero);
    return true;
}

TDateTime EncodeDate(int year, int month, int day) {
    TDateTime value = 0;
    if (!TryEncodeDate(year, month, day, value)) throw std::invalid_argument("no such date");
    return value;
}

CivilDate DecodeDate(TDateTime value) {
    return civilFromDays(static_cast<long long>(std::trunc(value)) + kSerialZero);
}

int WeekdayOf(TDateTime value) {
    // 1899-12-30 was a Saturday.
    return static_cast<int>(floorMod(static_cast<long long>(std::trunc(value)) + 6, 7));
}

int GregorianWeekday(int year, int month, int day) {
    // 1970-01-01 was a Thursday.
    return static_cast<int>(floorMod(daysFromCivil(year, month, day) + 4, 7));
}

}  // namespace tavlo::lunar
