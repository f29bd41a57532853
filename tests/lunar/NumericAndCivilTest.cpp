#include "CivilCalendar.h"
#include "NumericRules.h"

#include <gtest/gtest.h>

using namespace tavlo::lunar;

TEST(NumericRules, RoundsHalvesToTheEvenNeighbour) {
    const std::pair<double, double> cases[] = {{0.5, 0},   {1.5, 2},    {2.5, 2},    {-0.5, 0}, {-1.5, -2},
                                               {-2.5, -2}, {2.4999, 2}, {2.5001, 3}, {-2.6, -3}};
    for (const auto& [x, rounded] : cases) EXPECT_EQ(Round(x), rounded) << x;
}

TEST(NumericRules, FracPartAndRealModKeepTheSignOfTheArgument) {
    EXPECT_DOUBLE_EQ(FracPart(-1.25), -0.25);
    EXPECT_DOUBLE_EQ(FracPart(3.75), 0.75);
    EXPECT_NEAR(RealMod(12, -1), -1, 1e-12);
    EXPECT_NEAR(RealMod(12, 13), 1, 1e-12);
    EXPECT_NEAR(RealMod(12, 24), 0, 1e-12);
    EXPECT_EQ(Floor(-0.5), -1);
    EXPECT_EQ(Trunc(-0.5), 0);
}

TEST(CivilCalendar, KindOfADateAroundTheReform) {
    const std::tuple<int, int, int, int> cases[] = {{1581, 12, 31, 1}, {1582, 9, 30, 1},  {1582, 10, 4, 1},
                                                    {1582, 10, 5, 0},  {1582, 10, 14, 0}, {1582, 10, 15, 2},
                                                    {1582, 11, 1, 2},  {-849, 1, 1, 1},   {2100, 12, 31, 2}};
    for (const auto& [y, m, d, kind] : cases) EXPECT_EQ(CalendarKind(y, m, d), kind) << y << "-" << m << "-" << d;
}

TEST(CivilCalendar, LeapYearsFollowTheKindOfJanuaryFirst) {
    const std::pair<int, bool> cases[] = {
        {2000, true}, {1900, false}, {2024, true}, {2100, false}, {1700, false},  // Gregorian
        {1500, true}, {1582, false}, {100, true},  {4, true},     {0, true},      // Julian
        {-1, true},   {-5, true},    {-4, false},  {-2, false},   {-849, true}};  // the engine's negative years
    for (const auto& [year, leap] : cases) EXPECT_EQ(IsCivilLeapYear(year), leap) << year;
}

TEST(CivilCalendar, MonthLengthsAndDayOfYear) {
    EXPECT_EQ(CivilDaysInMonth(2024, 2), 29);
    EXPECT_EQ(CivilDaysInMonth(2023, 2), 28);
    EXPECT_EQ(CivilDaysInMonth(1582, 10), 31);
    EXPECT_EQ(CivilDaysInMonth(2024, 0), 0);
    EXPECT_EQ(CivilDaysInMonth(2024, 13), 0);
    EXPECT_EQ(CivilDayOfYear(2024, 1, 0), 0);
    EXPECT_EQ(CivilDayOfYear(2024, 3, 1), 61);
    EXPECT_EQ(CivilDayOfYear(2023, 12, 31), 365);
}

TEST(CivilCalendar, DayNumberCheckValues) {
    const std::tuple<int, int, int, int> cases[] = {
        {2000, 1, 1, 730120}, {1582, 10, 4, 577735}, {1582, 10, 15, 577736}, {1, 1, 1, -1}, {-849, 1, 21, -310443},
        {1582, 10, 7, 0},     {1, 1, 3, 1}};
    for (const auto& [y, m, d, n] : cases) EXPECT_EQ(DayNumber(y, m, d), n) << y << "-" << m << "-" << d;
}

TEST(CivilCalendar, DayNumberToDateInvertsDayNumberOverTheWholeRange) {
    EXPECT_FALSE(DayNumberToDate(-1).has_value());
    int previous = -1;
    CivilDate date{1, 1, 2};  // day number 0
    for (int n = 0; n <= DayNumber(2101, 12, 31); ++n) {
        const std::optional<CivilDate> back = DayNumberToDate(n);
        ASSERT_TRUE(back.has_value()) << n;
        ASSERT_EQ(*back, date) << n;
        ASSERT_EQ(DayNumber(back->Year, back->Month, back->Day), n);
        previous = n;
        date = NextCivilDate(date);  // skips the ten dropped days
    }
    EXPECT_GT(previous, 0);
}

TEST(CivilCalendar, ComparesYearThenMonthThenDay) {
    EXPECT_EQ(CompareCivilDates({2024, 1, 1}, {2023, 12, 31}), 1);
    EXPECT_EQ(CompareCivilDates({2024, 2, 1}, {2024, 2, 1}), 0);
    EXPECT_EQ(CompareCivilDates({2024, 2, 1}, {2024, 3, 1}), -1);
    EXPECT_EQ(CompareCivilDates({-1, 12, 31}, {0, 1, 1}), -1);
}
