// The text form of a table: what a hand-edited file may hold, and what is
// left out (with the line and the reason) when a line is damaged.
#include "HolidayParser.h"

#include <gtest/gtest.h>

namespace tavlo::holidays {
namespace {

int serial(int year, int month, int day) {
    int value = 0;
    EXPECT_TRUE(daySerial(year, month, day, value));
    return value;
}

TEST(HolidayParser, ReadsTheWaysAPersonWritesALine) {
    // A byte-order mark, CR LF, tabs, a full-width space, comments, blank lines.
    const ParsedHolidays parsed = parseHolidays(
        "\xEF\xBB\xBF# 2027年\r\n"
        "\r\n"
        "2027\t春节\t休\t2027-02-06\t2027-02-13\r\n"
        "   # indented comment\n"
        "2027　春节　班　2027-02-14\n"
        "2027 元旦 休 2026-12-31 2027-01-01");
    EXPECT_TRUE(parsed.problems.empty()) << parsed.problems.front().cause;
    ASSERT_EQ(parsed.ranges.size(), 3u);
    EXPECT_EQ(parsed.ranges[0].line, 3);
    EXPECT_EQ(parsed.ranges[0].name, "春节");
    EXPECT_EQ(parsed.ranges[0].kind, DayKind::Off);
    EXPECT_EQ(parsed.ranges[0].first, serial(2027, 2, 6));
    EXPECT_EQ(parsed.ranges[0].last, serial(2027, 2, 13));
    EXPECT_EQ(parsed.ranges[1].kind, DayKind::Work);
    EXPECT_EQ(parsed.ranges[1].first, parsed.ranges[1].last);
    EXPECT_EQ(parsed.ranges[2].year, 2027);
    EXPECT_EQ(parsed.ranges[2].first, serial(2026, 12, 31));
}

TEST(HolidayParser, LeavesOutDamagedLinesAndUsesTheRest) {
    struct Case {
        const char* line;
        const char* cause;
    } cases[] = {
        {"2027 春节 休", "这一行有 3 项"},
        {"2027 春节 休 2027-02-06 2027-02-13 多余", "这一行有 6 项"},
        {"27 春节 休 2027-02-06", "年份“27”不是四位数字"},
        {"2027 春节 放 2027-02-06", "类别“放”应为“休”或“班”"},
        {"2027 春节 休 2027-2-6", "日期“2027-2-6”不是 YYYY-MM-DD 形式的日期"},
        {"2027 春节 休 2027-02-30", "日期“2027-02-30”不是"},
        {"2027 春节 休 2027-02-13 2027-02-06", "结束日期早于起始日期"},
        {"2027 春节 休 2027-02-06 2027-12-06", "一段日期长于 31 天"},
        {"2027 春节 休 2029-02-06", "日期不在 2027 年及其前后一年之内"},
        // Control characters are written out, never passed on; a long field is shortened.
        {"2027 春节 \x1b]0;x\x07 2027-02-06", "类别“\\x1B]0;x\\x07”应为"},
        {"2027 春\xc2\x9b节 休 2027-02-06", "节日名称“春\\x9B节”中有控制字符"},
        {"2027 春节 休 2027-02-06x0123456789012345678901234567890123456789",
         "日期“2027-02-06x01234567890123456789012345678…”"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const ParsedHolidays parsed = parseHolidays(std::string("2027 元旦 休 2027-01-01\n") + c.line + "\n");
        ASSERT_EQ(parsed.problems.size(), 1u);
        EXPECT_EQ(parsed.problems[0].line, 2);
        EXPECT_NE(parsed.problems[0].cause.find(c.cause), std::string::npos) << parsed.problems[0].cause;
        ASSERT_EQ(parsed.ranges.size(), 1u);  // the good line is kept
        EXPECT_EQ(parsed.ranges[0].name, "元旦");
    }
}

TEST(HolidayParser, AnOverlappingLineLosesToTheEarlierOne) {
    const ParsedHolidays parsed = parseHolidays(
        "2027 春节 休 2027-02-06 2027-02-13\n"
        "2027 元宵 休 2027-02-20\n"
        "2027 春节 班 2027-02-13 2027-02-14\n"  // its first day is the last day off
        "2027 春节 班 2027-02-01 2027-02-06\n"  // its last day is the first day off
        "2027 春节 班 2027-02-14\n");
    ASSERT_EQ(parsed.problems.size(), 2u);
    EXPECT_EQ(parsed.problems[0].line, 3);
    EXPECT_EQ(parsed.problems[0].cause, "与第 1 行的日期重叠");
    EXPECT_EQ(parsed.problems[1].line, 4);
    ASSERT_EQ(parsed.ranges.size(), 3u);
    EXPECT_EQ(parsed.ranges[2].line, 5);
}

TEST(HolidayParser, AUserYearReplacesTheBuiltInYearWhole) {
    const std::vector<HolidayRange> builtIn = parseHolidays(builtInHolidayText()).ranges;
    const ParsedHolidays user = parseHolidays(
        "2024 元旦 休 2024-01-01 2024-01-02\n"  // replaces all of 2024
        "2027 元旦 休 2027-01-01\n"             // adds a year
        "2007 元旦 休 2007-12-30\n");           // a day the kept 2008 arrangement holds
    std::vector<LineProblem> problems = user.problems;
    const HolidayTable table = mergeHolidays(builtIn, user, problems);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].line, 3);
    EXPECT_EQ(problems[0].cause, "与内置的 2008 年安排的日期重叠");

    EXPECT_EQ(table.kindOf(serial(2024, 1, 2)), DayKind::Off);
    EXPECT_EQ(table.kindOf(serial(2024, 2, 10)), DayKind::Ordinary);  // the built-in 2024 is gone
    EXPECT_EQ(table.kindOf(serial(2027, 1, 1)), DayKind::Off);
    EXPECT_EQ(table.kindOf(serial(2023, 1, 2)), DayKind::Off);  // other years stay
    ASSERT_NE(table.find(2007, 12, 30), nullptr);
    EXPECT_EQ(table.find(2007, 12, 30)->year, 2008);
    EXPECT_TRUE(table.hasYear(2027));
    EXPECT_FALSE(table.hasYear(2007));
}

TEST(HolidayParser, AFileOfBadLinesListsAFewAndCountsTheRest) {
    std::string text;
    for (int i = 0; i < 50000; ++i) text += "bad line\n";
    for (int i = 0; i < 50; ++i) text += "2027 元旦 休 2027-01-01\n";  // all but the first overlap it
    const ParsedHolidays parsed = parseHolidays(text);
    ASSERT_EQ(parsed.problems.size(), kListedProblems);
    EXPECT_EQ(parsed.problems.front().line, 1);
    EXPECT_EQ(parsed.unlistedProblems, 50000 + 49 - static_cast<int>(kListedProblems));
    EXPECT_EQ(parsed.ranges.size(), 1u);
}

}  // namespace
}  // namespace tavlo::holidays
