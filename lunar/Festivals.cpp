#include "Festivals.h"

namespace tavlo::lunar {
namespace {

constexpr int kSunday = 0;
constexpr int kThursday = 4;

// The n-th (1-based) given weekday of its month.
bool isNthWeekday(int dayOfMonth, int weekday, int wanted, int n) {
    return weekday == wanted && (dayOfMonth - 1) / 7 == n - 1;
}

}  // namespace

std::string HolidayOf(int dayOfMonth, TDateTime date) {
    const CivilDate labels = DecodeDate(date);
    const int weekday = GregorianWeekday(labels.Year, labels.Month, dayOfMonth);
    const int d = dayOfMonth;
    std::string name;
    switch (labels.Month) {
    case 1:
        if (d == 1) name = "元旦节";
        break;
    case 2:
        if (d == 14) name = "情人节";
        break;
    case 3:
        if (d == 8) name = "妇女节";
        break;
    case 4:
        if (d == 1) name = "愚人节";
        break;
    case 5:
        if (d == 1) name = "劳动节";
        if (d == 4) name = "青年节";
        if (isNthWeekday(d, weekday, kSunday, 2)) name = "母亲节";
        break;
    case 6:
        if (d == 1) name = "儿童节";
        if (isNthWeekday(d, weekday, kSunday, 3)) name = "父亲节";
        break;
    case 7:
        if (d == 1) name = "建党节";
        break;
    case 8:
        if (d == 1) name = "建军节";
        break;
    case 9:
        if (d == 10) name = "教师节";
        break;
    case 10:
        if (d == 1) name = "国庆节";
        if (d == 6) name = "老人节";
        if (d == 31) name = "万圣节";
        break;
    case 11:
        if (d == 8) name = "记者日";
        if (isNthWeekday(d, weekday, kThursday, 4)) name = "感恩节";
        break;
    case 12:
        if (d == 25) name = "圣诞节";
        break;
    default: break;
    }
    return name;
}

std::string LunarHolidayOf(int lunarMonth, int lunarDay, TDateTime date) {
    switch (lunarDay) {
    case 1: return lunarMonth == 1 ? "春节" : "";
    case 5: return lunarMonth == 5 ? "端午节" : "";
    case 7: return lunarMonth == 7 ? "七夕节" : "";
    case 8: return lunarMonth == 12 ? "腊八节" : "";
    case 9: return lunarMonth == 9 ? "重阳节" : "";
    case 15:
        if (lunarMonth == 8) return "中秋节";
        return lunarMonth == 1 ? "元宵节" : "";
    default: break;
    }
    if (lunarMonth != 12) return "";
    // Only the next day's lunar month and day count, which SolarToLunar takes
    // from SolarToLunarMonthDay unchanged: the new-year search is not needed.
    const CivilDate next = DecodeDate(date + 1);
    int nextMonth = 0;
    int nextDay = 0;
    bool leap = false;
    if (SolarToLunarMonthDay(next.Year, next.Month, next.Day, nextMonth, nextDay, leap) && nextMonth == 1 &&
        nextDay == 1)
        return "除夕";
    return "";
}

bool LunarDateOf(TDateTime date, LunarDate& out) {
    const CivilDate labels = DecodeDate(date);
    return SolarToLunar(labels.Year, labels.Month, labels.Day, out);
}

}  // namespace tavlo::lunar
