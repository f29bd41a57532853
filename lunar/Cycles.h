#pragma once
// The sexagenary (stem-branch) cycle of years, months and days, the zodiac
// animals, the Western constellations, and their name tables.
#include <array>
#include <string>
#include <string_view>

namespace tavlo::lunar {

extern const std::array<std::string_view, 10> Stems;
extern const std::array<std::string_view, 12> Branches;
extern const std::array<std::string_view, 12> Animals;
extern const std::array<std::string_view, 12> Constellations;
extern const std::array<std::string_view, 24> SolarTermNames;
// Entry i is Stems[i mod 10] followed by Branches[i mod 12]: 0 甲子 .. 59 癸亥.
extern const std::array<std::string_view, 60> GanZhiNames;

int YearCycleIndex(int year);  // 0..59; 1984 is 0
int AnimalIndex(int year);     // 0..11
// The year's stem-branch, the year starting at 立春.
int YearGanZhiOfDate(int year, int month, int day);

struct SolarMonth {
    int Year = 0;
    int Index = 0;  // 1 the 寅 month from 立春 .. 11 the 子 month, 12 the 丑 month
};
SolarMonth SolarMonthOfDate(int year, int month, int day);
int MonthGanZhiOfDate(int year, int month, int day);

int DayCycleCount(int year, int month, int day);
int DayGanZhiOfDate(int year, int month, int day);

// -1 when the pair never occurs or an argument is out of range.
int GanZhiIndex(int stem, int branch);
// False, with both parts -1, outside 0..59.
bool SplitGanZhi(int index, int& stem, int& branch);

int ConstellationIndex(int month, int day);

// The table entry, or "" for an index outside the table.
std::string GanZhiName(int index);
std::string AnimalName(int index);
std::string SolarTermName(int index);
std::string ConstellationName(int index);

}  // namespace tavlo::lunar
