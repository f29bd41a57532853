// What the calendar says about the arrangement, in Chinese.
#include "HolidayParser.h"
#include "HolidayTexts.h"
#include "ProgramHolidays.h"

#include <gtest/gtest.h>

namespace tavlo::holidays {
namespace {

TEST(HolidayTexts, DayTexts) {
    const HolidayTable table = builtInHolidays();
    struct Case {
        int year, month, day;
        const char* text;
    } cases[] = {
        {2024, 2, 10, "春节假期（休）"},
        {2024, 2, 18, "调休上班（班）"},
        {2023, 9, 29, "中秋节、国庆节假期（休）"},
        {2024, 3, 1, ""},  // an ordinary day of a known year
        {2007, 12, 31, "元旦假期（休）"},
        {2007, 12, 1, "未收录2007年的放假安排（已收录2008—2026年）"},
        {2030, 10, 1, "未收录2030年的放假安排（已收录2008—2026年）"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(dayArrangementText(table, c.year, c.month, c.day), c.text)
            << c.year << "-" << c.month << "-" << c.day;
}

TEST(HolidayTexts, KnownYearsAreShownAsRuns) {
    std::vector<LineProblem> problems;
    const HolidayTable table =
        mergeHolidays(parseHolidays(builtInHolidayText()).ranges, parseHolidays("2030 元旦 休 2030-01-01\n"), problems);
    EXPECT_EQ(knownYearsText(table), "2008—2026年、2030年");
    EXPECT_EQ(missingYearText(HolidayTable(), 2024), "未收录2024年的放假安排");
}

TEST(HolidayTexts, YearListingReadsLikeTheNotice) {
    const HolidayTable table = builtInHolidays();
    const std::vector<std::string> lines2024 = yearArrangementLines(table, 2024);
    ASSERT_EQ(lines2024.size(), 7u);
    EXPECT_EQ(lines2024[0], "元旦：1月1日（周一）放假，共1天。");
    EXPECT_EQ(lines2024[1], "春节：2月10日（周六）至2月17日（周六）放假，共8天；2月4日（周日）、2月18日（周日）上班。");

    // A range reaching into the year before names both years; workdays are named one by one.
    const std::vector<std::string> lines2008 = yearArrangementLines(table, 2008);
    ASSERT_FALSE(lines2008.empty());
    EXPECT_EQ(lines2008[0],
              "元旦：2007年12月30日（周日）至2008年1月1日（周二）放假，共3天；2007年12月29日（周六）上班。");
    EXPECT_EQ(lines2008[1], "春节：2月6日（周三）至2月12日（周二）放假，共7天；2月2日（周六）、2月3日（周日）上班。");

    // Days off apart, and a holiday that takes its turn by its first day.
    const std::vector<std::string> lines2015 = yearArrangementLines(table, 2015);
    EXPECT_EQ(lines2015[4], "端午节：6月20日（周六）、6月22日（周一）放假，共2天。");
    EXPECT_EQ(lines2015[5].substr(0, lines2015[5].find("：")), "中国人民抗日战争暨世界反法西斯战争胜利70周年纪念日");

    EXPECT_TRUE(yearArrangementLines(table, 2030).empty());
}

}  // namespace
}  // namespace tavlo::holidays
