#include "Cycles.h"

#include "CivilCalendar.h"
#include "NumericRules.h"
#include "SolarTerms.h"

namespace tavlo::lunar {

const std::array<std::string_view, 10> Stems = {"甲", "乙", "丙", "丁", "戊", "己", "庚", "辛", "壬", "癸"};
const std::array<std::string_view, 12> Branches = {"子", "丑", "寅", "卯", "辰", "巳",
                                                   "午", "未", "申", "酉", "戌", "亥"};
const std::array<std::string_view, 12> Animals = {"鼠", "牛", "虎", "兔", "龙", "蛇",
                                                  "马", "羊", "猴", "鸡", "狗", "猪"};
const std::array<std::string_view, 12> Constellations = {"白羊", "金牛", "双子", "巨蟹", "狮子", "处女",
                                                         "天秤", "天蝎", "射手", "摩羯", "宝瓶", "双鱼"};
// Starts at 立春: term index b (0 小寒) is entry (b + 22) mod 24.
const std::array<std::string_view, 24> SolarTermNames = {
    "立春", "雨水", "惊蛰", "春分", "清明", "谷雨", "立夏", "小满", "芒种", "夏至", "小暑", "大暑",
    "立秋", "处暑", "白露", "秋分", "寒露", "霜降", "立冬", "小雪", "大雪", "冬至", "小寒", "大寒"};
const std::array<std::string_view, 60> GanZhiNames = {
    "甲子", "乙丑", "丙寅", "丁卯", "戊辰", "己巳", "庚午", "辛未", "壬申", "癸酉", "甲戌", "乙亥",
    "丙子", "丁丑", "戊寅", "己卯", "庚辰", "辛巳", "壬午", "癸未", "甲申", "乙酉", "丙戌", "丁亥",
    "戊子", "己丑", "庚寅", "辛卯", "壬辰", "癸巳", "甲午", "乙未", "丙申", "丁酉", "戊戌", "己亥",
    "庚子", "辛丑", "壬寅", "癸卯", "甲辰", "乙巳", "丙午", "丁未", "戊申", "己酉", "庚戌", "辛亥",
    "壬子", "癸丑", "甲寅", "乙卯", "丙辰", "丁巳", "戊午", "己未", "庚申", "辛酉", "壬戌", "癸亥",
};

namespace {

template <std::size_t N>
std::string entry(const std::array<std::string_view, N>& table, int index) {
    if (index < 0 || index >= static_cast<int>(N)) return "";
    return std::string(table[static_cast<std::size_t>(index)]);
}

int cycleIndex(int year, int length) {
    const int remainder = (year > 0 ? year - 4 : year - 3) % length;
    return remainder < 0 ? remainder + length : remainder;
}

int startOfSpringDay(int year) {
    return FloorToInt(SolarTermDayOfYear(year, 3));
}

// Stem of the first (寅) month for each year stem: 甲己 丙, 乙庚 戊, 丙辛 庚, 丁壬 壬, 戊癸 甲.
constexpr int kFirstMonthStem[10] = {2, 4, 6, 8, 0, 2, 4, 6, 8, 0};

// Starts of the constellations as 100 × month + day, with the sign each opens.
constexpr int kConstellationStarts[12] = {120, 219, 321, 421, 521, 622, 723, 823, 923, 1023, 1122, 1222};
constexpr int kConstellationOpened[12] = {10, 11, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
constexpr int kCapricorn = 9;

}  // namespace

int YearCycleIndex(int year) {
    return cycleIndex(year, 60);
}
int AnimalIndex(int year) {
    return cycleIndex(year, 12);
}

int YearGanZhiOfDate(int year, int month, int day) {
    if (CivilDayOfYear(year, month, day) < startOfSpringDay(year)) return YearCycleIndex(year - 1);
    return YearCycleIndex(year);
}

SolarMonth SolarMonthOfDate(int year, int month, int day) {
    const int n = CivilDayOfYear(year, month, day);
    if (n < startOfSpringDay(year)) {
        const bool beforeLesserCold = n < FloorToInt(SolarTermDayOfYear(year, 1));
        return {year - 1, beforeLesserCold ? 11 : 12};
    }
    // Month i opens at term 2i + 1; term 25 (i = 12) lies beyond the year.
    int index = 0;
    for (int i = 1; i <= 12; ++i) {
        if (n < FloorToInt(SolarTermDayOfYear(year, 2 * i + 1))) break;
        index = i;
    }
    return {year, index};
}

int MonthGanZhiOfDate(int year, int month, int day) {
    const SolarMonth solar = SolarMonthOfDate(year, month, day);
    int yearStem = 0;
    int yearBranch = 0;
    SplitGanZhi(YearCycleIndex(solar.Year), yearStem, yearBranch);
    int stem = kFirstMonthStem[yearStem] + (solar.Index - 1) % 10;
    if (stem >= 10) stem %= 10;
    const int branch = (solar.Index + 1) % 12;
    return GanZhiIndex(stem, branch);
}

int DayCycleCount(int year, int month, int day) {
    const int n = CivilDayOfYear(year, month, day);
    if (year >= 1) {
        int s = 0;
        if (CalendarKind(year, month, day) == 2) s = year <= 1700 ? 10 : 11 + (year - 1701) / 100 - (year - 1601) / 400;
        return 365 * (year - 1) + n + (year - 1) / 4 - s;
    }
    if (year == 0) return n;
    return 365 * year + n - (3 - year) / 4;
}

int DayGanZhiOfDate(int year, int month, int day) {
    const int index = (DayCycleCount(year, month, day) + 12) % 60;
    return index < 0 ? index + 60 : index;
}

int GanZhiIndex(int stem, int branch) {
    if (stem < 0 || stem > 9 || branch < 0 || branch > 11) return -1;
    for (int j = 0; j <= 6; ++j) {
        const int v = stem + 10 * j;
        if (v % 12 == branch) return v;
    }
    return -1;
}

bool SplitGanZhi(int index, int& stem, int& branch) {
    if (index < 0 || index > 59) {
        stem = -1;
        branch = -1;
        return false;
    }
    stem = index % 10;
    branch = index % 12;
    return true;
}

int ConstellationIndex(int month, int day) {
    const int v = 100 * month + day;
    int result = kCapricorn;
    for (int i = 0; i < 12; ++i)
        if (v >= kConstellationStarts[i]) result = kConstellationOpened[i];
    return result;
}

std::string GanZhiName(int index) {
    return entry(GanZhiNames, index);
}
std::string AnimalName(int index) {
    return entry(Animals, index);
}
std::string SolarTermName(int index) {
    return entry(SolarTermNames, index);
}
std::string ConstellationName(int index) {
    return entry(Constellations, index);
}

}  // namespace tavlo::lunar
