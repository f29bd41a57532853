// The built-in table: what it says of telling days, and checks over every
// line that catch a mistyped date.
#include "DateTimeValue.h"
#include "HolidayParser.h"
#include "ProgramHolidays.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace tavlo::holidays {

void PrintTo(DayKind kind, std::ostream* out) {
    *out << (kind == DayKind::Off ? "休" : kind == DayKind::Work ? "班" : "ordinary");
}

namespace {

struct DayCase {
    int year, month, day;
    DayKind kind;
    const char* name;  // for an arrangement day
};

TEST(BuiltInHolidays, TellingDays) {
    const HolidayTable table = builtInHolidays();
    const DayCase cases[] = {
        {2024, 2, 9, DayKind::Ordinary},      // 除夕, a Friday: not a day off in 2024
        {2024, 2, 10, DayKind::Off, "春节"},  // the eight days of 2024-02-10 .. 17
        {2024, 2, 17, DayKind::Off, "春节"},
        {2024, 2, 18, DayKind::Work, "春节"},  // a Sunday
        {2024, 2, 4, DayKind::Work, "春节"},
        {2024, 2, 5, DayKind::Ordinary},
        {2007, 12, 29, DayKind::Work, "元旦"},  // the 2008 arrangement begins in 2007
        {2008, 1, 1, DayKind::Off, "元旦"},
        {2020, 2, 1, DayKind::Off, "春节"},  // a make-up workday until the Spring Festival was extended
        {2020, 2, 2, DayKind::Off, "春节"},
        {2015, 9, 3, DayKind::Off, "中国人民抗日战争暨世界反法西斯战争胜利70周年纪念日"},
        {2015, 9, 6, DayKind::Work, "中国人民抗日战争暨世界反法西斯战争胜利70周年纪念日"},
        {2019, 5, 4, DayKind::Off, "劳动节"},  // the May Day holiday lengthened in March 2019
        {2019, 4, 6, DayKind::Ordinary},       // 清明 "与周末连休": the weekend stays a weekend
        {2023, 10, 1, DayKind::Off, "中秋节、国庆节"},
        {2026, 2, 23, DayKind::Off, "春节"},
        {2026, 12, 31, DayKind::Ordinary},
        {2027, 1, 1, DayKind::Ordinary},
    };
    for (const DayCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.year) + "-" + std::to_string(c.month) + "-" + std::to_string(c.day));
        const HolidayRange* range = table.find(c.year, c.month, c.day);
        EXPECT_EQ(range ? range->kind : DayKind::Ordinary, c.kind);
        if (range && c.name) {
            EXPECT_EQ(range->name, c.name);
        }
    }
    EXPECT_EQ(table.find(2024, 2, 30), nullptr);
}

TEST(BuiltInHolidays, EveryYearFrom2008To2026IsWholeAndSound) {
    const ParsedHolidays parsed = parseHolidays(builtInHolidayText());
    for (const LineProblem& problem : parsed.problems) ADD_FAILURE() << problem.line << ": " << problem.cause;
    const HolidayTable table(parsed.ranges);
    std::vector<int> expected;
    for (int year = 2008; year <= 2026; ++year) expected.push_back(year);
    EXPECT_EQ(table.years(), expected);

    std::map<int, std::set<std::string>> holidaysOfYear;
    for (const HolidayRange& range : table.ranges()) {
        SCOPED_TRACE("line " + std::to_string(range.line));
        // A make-up workday is always a weekend day given up; anything else is a typo.
        if (range.kind == DayKind::Work)
            for (int day = range.first; day <= range.last; ++day) {
                const int weekday = lunar::WeekdayOf(day);
                EXPECT_TRUE(weekday == 0 || weekday == 6);
            }
        // Days off lie around the holiday's own year.
        EXPECT_GE(lunar::DecodeDate(range.first).Year, range.year - 1);
        EXPECT_LE(lunar::DecodeDate(range.last).Year, range.year);
        if (range.kind == DayKind::Off) holidaysOfYear[range.year].insert(range.name);
    }
    for (const auto& [year, names] : holidaysOfYear) {
        std::string all;
        for (const std::string& name : names) all += name + " ";
        for (const char* holiday : {"元旦", "春节", "清明节", "劳动节", "端午节", "中秋节", "国庆节"})
            EXPECT_NE(all.find(holiday), std::string::npos) << year << " has no " << holiday;
    }
}

}  // namespace
}  // namespace tavlo::holidays
