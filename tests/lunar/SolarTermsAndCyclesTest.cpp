#include "Cycles.h"
#include "DateTimeValue.h"
#include "SolarTerms.h"

#include <gtest/gtest.h>

using namespace tavlo::lunar;

TEST(SolarTerms, TheTermsOf2024) {
    const std::tuple<int, int, const char*> terms[] = {
        {1, 6, "小寒"},  {1, 20, "大寒"},  {2, 4, "立春"},  {2, 19, "雨水"},  {3, 5, "惊蛰"},  {3, 20, "春分"},
        {4, 4, "清明"},  {4, 19, "谷雨"},  {5, 5, "立夏"},  {5, 20, "小满"},  {6, 5, "芒种"},  {6, 21, "夏至"},
        {7, 6, "小暑"},  {7, 22, "大暑"},  {8, 7, "立秋"},  {8, 22, "处暑"},  {9, 7, "白露"},  {9, 22, "秋分"},
        {10, 8, "寒露"}, {10, 23, "霜降"}, {11, 7, "立冬"}, {11, 22, "小雪"}, {12, 6, "大雪"}, {12, 21, "冬至"}};
    int index = 0;
    for (const auto& [month, day, name] : terms) {
        int m = 0, d = 0;
        ASSERT_TRUE(SolarTermDate(2024, index, m, d));
        EXPECT_EQ(m, month) << name;
        EXPECT_EQ(d, day) << name;
        EXPECT_EQ(SolarTermOfDate(EncodeDate(2024, month, day)), name);
        EXPECT_EQ(SolarTermOfDate(EncodeDate(2024, month, day) + 1), "");
        ++index;
    }
}

TEST(SolarTerms, OutOfRangeIndexesAndEarlyYears) {
    int m = 0, d = 0;
    EXPECT_FALSE(SolarTermDate(2024, -1, m, d));
    EXPECT_FALSE(SolarTermDate(2024, 24, m, d));
    ASSERT_TRUE(SolarTermDate(-849, 15, m, d));  // 处暑
    EXPECT_EQ(m, 8);
    EXPECT_EQ(d, 31);
    // 649: 立春 falls on January 31, outside its own month; no day names it.
    ASSERT_TRUE(SolarTermDate(649, 2, m, d));
    EXPECT_EQ(m, 1);
    EXPECT_EQ(d, 31);
    EXPECT_EQ(SolarTermOfCivilDate(649, 1, 31), "");
    EXPECT_EQ(SolarTermOfCivilDate(649, 2, 1), "");
    // Term 25 is next year's 小寒, past the year's last day.
    EXPECT_GT(SolarTermDayOfYear(2024, 25), 366);
}

TEST(Cycles, YearStemBranchAndAnimal) {
    EXPECT_EQ(GanZhiName(YearCycleIndex(1984)), "甲子");
    EXPECT_EQ(AnimalName(AnimalIndex(1984)), "鼠");
    EXPECT_EQ(YearCycleIndex(2024), 40);
    EXPECT_EQ(AnimalIndex(2024), 4);
    EXPECT_EQ(YearCycleIndex(0), 57);  // y <= 0 counts from y - 3
    EXPECT_EQ(YearCycleIndex(-1), 56);
    EXPECT_EQ(AnimalIndex(-849), 0);
    // The stem-branch year turns at 立春.
    EXPECT_EQ(GanZhiName(YearGanZhiOfDate(2024, 2, 3)), "癸卯");
    EXPECT_EQ(GanZhiName(YearGanZhiOfDate(2024, 2, 4)), "甲辰");
}

TEST(Cycles, MonthStemBranchTurnsAtTheSectionalTerms) {
    const std::tuple<int, int, int, const char*> cases[] = {
        {2024, 1, 5, "甲子"},   {2024, 1, 6, "乙丑"},  {2024, 2, 3, "乙丑"},  {2024, 2, 4, "丙寅"},
        {2023, 12, 31, "甲子"}, {2024, 12, 6, "丙子"}, {2024, 12, 5, "乙亥"}, {2024, 3, 5, "丁卯"}};
    for (const auto& [y, m, d, name] : cases) EXPECT_EQ(GanZhiName(MonthGanZhiOfDate(y, m, d)), name) << y << m << d;
    EXPECT_EQ(SolarMonthOfDate(2024, 1, 5).Year, 2023);
    EXPECT_EQ(SolarMonthOfDate(2024, 1, 5).Index, 11);
    EXPECT_EQ(SolarMonthOfDate(2024, 12, 31).Index, 11);
}

TEST(Cycles, DayStemBranch) {
    EXPECT_EQ(GanZhiName(DayGanZhiOfDate(2000, 1, 1)), "戊午");
    EXPECT_EQ(GanZhiName(DayGanZhiOfDate(2024, 2, 10)), "甲辰");
    EXPECT_EQ(DayCycleCount(1582, 10, 15) - DayCycleCount(1582, 10, 4), 1);
    EXPECT_EQ(DayCycleCount(1582, 10, 5), DayCycleCount(1582, 10, 15));
    EXPECT_EQ(DayCycleCount(2000, 1, 1), DayNumber(2000, 1, 1) + 2);
    EXPECT_EQ(DayCycleCount(1200, 3, 1), DayNumber(1200, 3, 1) + 2);
    EXPECT_EQ(DayCycleCount(0, 1, 5), 5);
    const int index = DayGanZhiOfDate(-849, 1, 1);
    EXPECT_GE(index, 0);
    EXPECT_LT(index, 60);
}

TEST(Cycles, StemBranchPairs) {
    EXPECT_EQ(GanZhiIndex(0, 0), 0);
    EXPECT_EQ(GanZhiIndex(0, 10), 10);
    EXPECT_EQ(GanZhiIndex(9, 11), 59);
    EXPECT_EQ(GanZhiIndex(0, 1), -1);  // stems and branches of unlike parity never meet
    EXPECT_EQ(GanZhiIndex(10, 0), -1);
    EXPECT_EQ(GanZhiIndex(0, -1), -1);
    int stem = 0, branch = 0;
    EXPECT_TRUE(SplitGanZhi(59, stem, branch));
    EXPECT_EQ(stem, 9);
    EXPECT_EQ(branch, 11);
    EXPECT_FALSE(SplitGanZhi(60, stem, branch));
    EXPECT_EQ(stem, -1);
    EXPECT_EQ(branch, -1);
    for (int i = 0; i < 60; ++i)
        EXPECT_EQ(GanZhiNames[i], std::string(Stems[i % 10]) + std::string(Branches[i % 12])) << i;
}

TEST(Cycles, Constellations) {
    const std::tuple<int, int, const char*> cases[] = {
        {1, 19, "摩羯"},  {1, 20, "宝瓶"},  {2, 18, "宝瓶"},  {2, 19, "双鱼"}, {3, 21, "白羊"},
        {12, 21, "射手"}, {12, 22, "摩羯"}, {12, 31, "摩羯"}, {1, 1, "摩羯"},  {8, 23, "处女"}};
    for (const auto& [m, d, name] : cases)
        EXPECT_EQ(ConstellationName(ConstellationIndex(m, d)), name) << m << "-" << d;
}

TEST(Cycles, NamesOutsideTheirTablesAreEmpty) {
    EXPECT_EQ(GanZhiName(-1), "");
    EXPECT_EQ(GanZhiName(60), "");
    EXPECT_EQ(AnimalName(12), "");
    EXPECT_EQ(SolarTermName(24), "");
    EXPECT_EQ(ConstellationName(-1), "");
    EXPECT_EQ(SolarTermName((0 + 22) % 24), "小寒");
}
