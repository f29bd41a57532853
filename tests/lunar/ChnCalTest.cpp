#include "ChnCal.h"
#include "LunarDate.h"
#include "LunarTexts.h"

#include <gtest/gtest.h>

using namespace tavlo::lunar;

namespace {

TChnCal analysed(int year, int month, int day) {
    TChnCal cal;
    cal.AnalyseDate(EncodeDate(year, month, day));
    return cal;
}

}  // namespace

TEST(TChnCal, StartsEmpty) {
    const TChnCal cal;
    EXPECT_EQ(cal.LunarYear, 0);
    EXPECT_EQ(cal.LunarMonth, 0);
    EXPECT_EQ(cal.AnalysedDate, 0);
    EXPECT_EQ(cal.LunarDayName, "");
    EXPECT_EQ(cal.EraName, "");
}

TEST(TChnCal, SpringFestival2024) {
    const TChnCal cal = analysed(2024, 2, 10);
    EXPECT_EQ(cal.AnalysedDate, EncodeDate(2024, 2, 10));
    EXPECT_EQ(cal.LunarYear, 2024);
    EXPECT_EQ(cal.LunarMonth, 1);
    EXPECT_EQ(cal.LunarMonthName, "正月");
    EXPECT_EQ(cal.LunarDayName, "初一");
    EXPECT_EQ(cal.LunarHoliday, "春节");
    EXPECT_EQ(cal.YearGanZhi, "甲辰");
    EXPECT_EQ(cal.MonthGanZhi, "丙寅");
    EXPECT_EQ(cal.DayGanZhi, "甲辰");
    EXPECT_EQ(cal.Animal, "龙");
    EXPECT_EQ(cal.LunarYearNumber, "2024");
    EXPECT_EQ(cal.Constellation, "宝瓶");
    EXPECT_EQ(cal.EraName, "");
    EXPECT_EQ(cal.SolarTerm, "");
    EXPECT_EQ(cal.Holiday, "");
}

TEST(TChnCal, DaysAroundTheNewYear) {
    const TChnCal eve = analysed(2024, 2, 9);
    EXPECT_EQ(eve.LunarHoliday, "除夕");
    EXPECT_EQ(eve.LunarYear, 2023);
    EXPECT_EQ(eve.LunarDayName, "三十");

    const TChnCal spring = analysed(2024, 2, 4);
    EXPECT_EQ(spring.SolarTerm, "立春");
    EXPECT_EQ(spring.YearGanZhi, "甲辰");
    EXPECT_EQ(spring.Animal, "兔");
    EXPECT_EQ(spring.LunarMonthName, "腊月");
    EXPECT_EQ(spring.LunarDayName, "廿五");

    const TChnCal spring1916 = analysed(1916, 2, 3);
    EXPECT_EQ(spring1916.LunarHoliday, "春节");
    EXPECT_EQ(spring1916.LunarYear, 1916);
    EXPECT_EQ(analysed(1916, 2, 4).LunarHoliday, "");
}

TEST(TChnCal, LeapMonthTexts) {
    const std::tuple<int, int, int, const char*, const char*, const char*> cases[] = {
        {2023, 3, 22, "闰二", "初一", ""},       {2023, 3, 21, "二月", "三十", ""},
        {2028, 5, 28, "五月", "初五", "端午节"}, {2028, 6, 27, "闰五", "初五", "端午节"},
        {2024, 9, 17, "八月", "十五", "中秋节"}, {2024, 6, 10, "五月", "初五", "端午节"}};
    for (const auto& [y, m, d, month, day, festival] : cases) {
        const TChnCal cal = analysed(y, m, d);
        EXPECT_EQ(cal.LunarMonthName, month) << y << "-" << m << "-" << d;
        EXPECT_EQ(cal.LunarDayName, day) << y << "-" << m << "-" << d;
        EXPECT_EQ(cal.LunarHoliday, festival) << y << "-" << m << "-" << d;
    }
}

TEST(TChnCal, EraTextFollowsTheCivilYear) {
    TChnCal cal;
    cal.AnalyseDate(EncodeDate(1900, 12, 31));
    EXPECT_EQ(cal.LunarYear, 1900);
    EXPECT_EQ(cal.EraName, "[清]德宗 载湉 光绪26年");
    cal.AnalyseDate(EncodeDate(1901, 1, 15));
    EXPECT_EQ(cal.LunarYear, 1900);
    EXPECT_EQ(cal.EraName, "[清]德宗 载湉 光绪27年");
}

TEST(TChnCal, FailedAnalysisKeepsEverythingButTheDate) {
    TChnCal cal;
    cal.AnalyseDate(EncodeDate(2024, 2, 10));
    const TChnCal before = cal;
    cal.AnalyseDate(EncodeDate(2101, 1, 1));
    EXPECT_EQ(cal.AnalysedDate, EncodeDate(2101, 1, 1));
    EXPECT_EQ(cal.LunarYear, before.LunarYear);
    EXPECT_EQ(cal.LunarMonthName, before.LunarMonthName);
    EXPECT_EQ(cal.LunarDayName, before.LunarDayName);
    EXPECT_EQ(cal.LunarHoliday, "春节");
    EXPECT_EQ(cal.YearGanZhi, before.YearGanZhi);
    EXPECT_EQ(cal.Constellation, before.Constellation);
}

TEST(TChnCal, EveryFieldComesFromTheDateJustAnalysed) {
    TChnCal cal;
    cal.AnalyseDate(EncodeDate(2024, 2, 9));   // 除夕 and a solar-term-free day
    cal.AnalyseDate(EncodeDate(2024, 5, 12));  // 母亲节
    EXPECT_EQ(cal.LunarHoliday, "");
    EXPECT_EQ(cal.Holiday, "母亲节");
    cal.AnalyseDate(EncodeDate(2024, 5, 20));
    EXPECT_EQ(cal.Holiday, "");
    EXPECT_EQ(cal.SolarTerm, "小满");
}

TEST(TChnCal, JulianLabelsBeforeTheReform) {
    // The date type's 1582-10-04 and 10-15 are read as Julian and Gregorian:
    // consecutive lunar days; the dropped days have no lunar day name.
    EXPECT_EQ(analysed(1582, 10, 4).LunarDayName, "十八");
    EXPECT_EQ(analysed(1582, 10, 15).LunarDayName, "十九");
    EXPECT_EQ(analysed(1582, 10, 10).LunarDayName, "");
    EXPECT_EQ(analysed(1200, 1, 18).LunarHoliday, "春节");
}

TEST(TChnCal, JulianLeapDayOfTheEngineCalendar) {
    // 0100-02-29 exists only in the Julian calendar.
    TChnCal cal;
    cal.AnalyseCivilDate(100, 2, 29);
    LunarDate lunar;
    ASSERT_TRUE(SolarToLunar(100, 2, 29, lunar));
    EXPECT_EQ(cal.LunarDayName, LunarDayText(lunar.Day));
    EXPECT_EQ(cal.LunarYear, lunar.Year);
    EXPECT_EQ(cal.AnalysedDate, EncodeDate(100, 2, 28));
    // Days the date type holds are analysed exactly as AnalyseDate does.
    TChnCal direct;
    direct.AnalyseDate(EncodeDate(1000, 6, 1));
    cal.AnalyseCivilDate(1000, 6, 1);
    EXPECT_EQ(cal.AnalysedDate, direct.AnalysedDate);
    EXPECT_EQ(cal.LunarDayName, direct.LunarDayName);
    EXPECT_EQ(cal.DayGanZhi, direct.DayGanZhi);
}
