#include "LunarDate.h"

#include <gtest/gtest.h>

using namespace tavlo::lunar;

namespace {

struct Conversion {
    CivilDate civil;
    LunarDate lunar;
};

void expectLunar(const CivilDate& civil, const LunarDate& expected) {
    LunarDate lunar{-9, -9, -9, true};
    ASSERT_TRUE(SolarToLunar(civil.Year, civil.Month, civil.Day, lunar)) << civil.Year;
    EXPECT_EQ(lunar.Year, expected.Year) << civil.Year << "-" << civil.Month << "-" << civil.Day;
    EXPECT_EQ(lunar.Month, expected.Month) << civil.Year << "-" << civil.Month << "-" << civil.Day;
    EXPECT_EQ(lunar.Day, expected.Day) << civil.Year << "-" << civil.Month << "-" << civil.Day;
    EXPECT_EQ(lunar.Leap, expected.Leap) << civil.Year << "-" << civil.Month << "-" << civil.Day;
}

}  // namespace

TEST(SolarToLunar, KnownDates) {
    const Conversion cases[] = {
        {{2024, 2, 10}, {2024, 1, 1, false}},
        {{2024, 2, 9}, {2023, 12, 30, false}},
        {{2023, 3, 22}, {2023, 2, 1, true}},
        {{2023, 4, 20}, {2023, 3, 1, false}},
        {{2020, 5, 23}, {2020, 4, 1, true}},
        {{2033, 12, 22}, {2033, 11, 1, true}},
        {{1984, 11, 23}, {1984, 10, 1, true}},
        {{2000, 1, 1}, {1999, 11, 25, false}},
        {{1582, 10, 4}, {1582, 9, 18, false}},
        {{1582, 10, 15}, {1582, 9, 19, false}},
        {{1, 1, 1}, {0, 11, 19, false}},
        // Lunar new years, Julian before the reform.
        {{1200, 1, 18}, {1200, 1, 1, false}},
        {{1201, 2, 5}, {1201, 1, 1, false}},
        {{1300, 1, 23}, {1300, 1, 1, false}},
        {{1499, 2, 10}, {1499, 1, 1, false}},
        {{2100, 2, 9}, {2100, 1, 1, false}},
    };
    for (const Conversion& c : cases) expectLunar(c.civil, c.lunar);
}

TEST(SolarToLunar, StoredCorrections) {
    const Conversion cases[] = {
        {{2018, 11, 7}, {2018, 9, 30, false}},  {{2018, 11, 8}, {2018, 10, 1, false}},
        {{2018, 12, 6}, {2018, 10, 29, false}}, {{2018, 12, 7}, {2018, 11, 1, false}},
        {{1924, 3, 4}, {1924, 1, 29, false}},   {{1924, 3, 5}, {1924, 2, 1, false}},
        {{1924, 4, 3}, {1924, 2, 30, false}},   {{1924, 4, 4}, {1924, 3, 1, false}},
    };
    for (const Conversion& c : cases) expectLunar(c.civil, c.lunar);
}

TEST(SolarToLunar, NoCorrectionIn2025) {
    // The published calendar: third month from 03-29, fourth from 04-28, fifth from 05-27.
    const Conversion cases[] = {
        {{2025, 3, 29}, {2025, 3, 1, false}},  {{2025, 4, 7}, {2025, 3, 10, false}},
        {{2025, 4, 27}, {2025, 3, 30, false}}, {{2025, 4, 28}, {2025, 4, 1, false}},
        {{2025, 5, 26}, {2025, 4, 29, false}}, {{2025, 5, 27}, {2025, 5, 1, false}},
    };
    for (const Conversion& c : cases) expectLunar(c.civil, c.lunar);
}

TEST(SolarToLunar, NewMoonsJustAfterMidnightCountOnThePreviousDay) {
    // Each correction spans exactly one lunar month: day 1 on the first date,
    // day 30 on the last, day 1 of the next month right after.
    const Conversion cases[] = {
        {{1914, 11, 16}, {1914, 9, 29, false}},  {{1914, 11, 17}, {1914, 10, 1, false}},
        {{1914, 12, 16}, {1914, 10, 30, false}}, {{1914, 12, 17}, {1914, 11, 1, false}},
        {{1916, 2, 2}, {1915, 12, 29, false}},   {{1916, 2, 3}, {1916, 1, 1, false}},
        {{1916, 3, 3}, {1916, 1, 30, false}},    {{1916, 3, 4}, {1916, 2, 1, false}},
        {{1920, 11, 9}, {1920, 9, 29, false}},   {{1920, 11, 10}, {1920, 10, 1, false}},
        {{1920, 12, 9}, {1920, 10, 30, false}},  {{1920, 12, 10}, {1920, 11, 1, false}},
    };
    for (const Conversion& c : cases) expectLunar(c.civil, c.lunar);
}

TEST(SolarToLunar, LeapFirstMonthKeepsItsNumberInFebruary) {
    // 1640 repeats its first month from 02-22; the second month follows on 03-22.
    const Conversion cases[] = {
        {{1640, 2, 21}, {1640, 1, 30, false}}, {{1640, 2, 22}, {1640, 1, 1, true}},
        {{1640, 2, 29}, {1640, 1, 8, true}},   {{1640, 3, 1}, {1640, 1, 9, true}},
        {{1640, 3, 21}, {1640, 1, 29, true}},  {{1640, 3, 22}, {1640, 2, 1, false}},
        {{1659, 2, 21}, {1659, 1, 1, true}},   {{1659, 2, 28}, {1659, 1, 8, true}},
    };
    for (const Conversion& c : cases) expectLunar(c.civil, c.lunar);
}

TEST(SolarToLunar, LeapTwelfthMonthComesAtTheEndOfItsYear) {
    // 1574 and 436 repeat their twelfth month in the next January: their own
    // first months keep their number, and the next year's January shows the
    // twelfth month and then the leap one.
    const Conversion cases[] = {
        {{1574, 1, 1}, {1573, 12, 9, false}},  {{1574, 1, 23}, {1574, 1, 1, false}},
        {{1574, 2, 21}, {1574, 2, 1, false}},  {{1574, 12, 13}, {1574, 12, 1, false}},
        {{1575, 1, 4}, {1574, 12, 23, false}}, {{1575, 1, 12}, {1574, 12, 1, true}},
        {{1575, 2, 10}, {1574, 12, 30, true}}, {{1575, 2, 11}, {1575, 1, 1, false}},
        {{436, 3, 1}, {436, 1, 28, false}},    {{436, 3, 4}, {436, 2, 1, false}},
        {{437, 1, 22}, {436, 12, 1, true}},    {{437, 2, 21}, {437, 1, 1, false}},
    };
    for (const Conversion& c : cases) expectLunar(c.civil, c.lunar);
}

// Early periods numbered their months from another first month (the offset
// changes at -721, -255, -254, 9, 24, 238 and 241); within each, the months
// before the year's leap month and those after the previous year's keep
// their numbers.
TEST(SolarToLunar, EarlyYearsNumberTheirMonthsInTheirOwnWay) {
    const Conversion cases[] = {
        {{-845, 9, 1}, {-845, 9, 4, false}},    {{-801, 2, 1}, {-801, 3, 4, false}},
        {{-800, 2, 1}, {-800, 2, 15, false}},   {{-720, 7, 30}, {-720, 7, 1, false}},
        {{-641, 2, 29}, {-641, 4, 1, false}},   {{-605, 2, 1}, {-605, 3, 11, false}},
        {{-255, 10, 16}, {-255, 10, 1, false}}, {{-77, 2, 1}, {-77, 12, 28, false}},
        {{9, 2, 1}, {9, 1, 18, false}},         {{10, 1, 4}, {10, 1, 1, false}},
        {{75, 1, 1}, {74, 11, 26, false}},      {{238, 1, 4}, {238, 1, 1, false}},
        {{238, 10, 24}, {238, 10, 29, false}},  {{238, 10, 25}, {238, 10, 1, true}},
        {{265, 1, 1}, {264, 11, 27, false}},
    };
    for (const Conversion& c : cases) expectLunar(c.civil, c.lunar);
}

TEST(SolarToLunar, FailsOutsideTheRangeAndLeavesTheOutputAlone) {
    for (const CivilDate date : {CivilDate{2101, 1, 1}, CivilDate{-850, 12, 31}}) {
        LunarDate lunar{7, 8, 9, true};
        EXPECT_FALSE(SolarToLunar(date.Year, date.Month, date.Day, lunar));
        EXPECT_EQ(convertSolarToLunar(date.Year, date.Month, date.Day, lunar), ConversionResult::OutOfRange);
        EXPECT_EQ(lunar.Year, 7);
        EXPECT_EQ(lunar.Month, 8);
        EXPECT_EQ(lunar.Day, 9);
        EXPECT_TRUE(lunar.Leap);
        int month = 1, day = 2;
        bool leap = false;
        EXPECT_FALSE(SolarToLunarMonthDay(date.Year, date.Month, date.Day, month, day, leap));
        EXPECT_EQ(month, 1);
        EXPECT_EQ(day, 2);
    }
    LunarDate lunar;
    EXPECT_TRUE(SolarToLunar(-849, 1, 1, lunar));
    EXPECT_TRUE(SolarToLunar(2100, 12, 31, lunar));
}

TEST(SolarToLunar, DroppedDaysOf1582HaveNoLunarDay) {
    EXPECT_EQ(LunarDayOf(1582, 10, 10).Day, -1);
    EXPECT_FALSE(LunarDayOf(1582, 10, 10).PhaseFraction.has_value());
    LunarDate lunar;
    ASSERT_TRUE(SolarToLunar(1582, 10, 5, lunar));
    EXPECT_EQ(lunar.Day, -1);
    EXPECT_EQ(lunar.Month, 2);
}

TEST(LunarDayOf, PhaseFractionOnlyOnNewAndFullMoonDays) {
    // 2024-02-10 is a new-moon day, 2024-02-24 the full moon (lunar 1/15).
    const LunarDayResult newMoon = LunarDayOf(2024, 2, 10);
    ASSERT_TRUE(newMoon.PhaseFraction.has_value());
    EXPECT_GE(*newMoon.PhaseFraction, 0.0);
    EXPECT_LT(*newMoon.PhaseFraction, 1.0);
    EXPECT_EQ(LunarDayOf(2024, 2, 24).Day, 15);
    EXPECT_TRUE(LunarDayOf(2024, 2, 24).PhaseFraction.has_value());
    EXPECT_FALSE(LunarDayOf(2024, 2, 15).PhaseFraction.has_value());
}

TEST(LunarMonthOf, NegativeInALeapMonth) {
    EXPECT_EQ(LunarMonthOf(2023, 3, 22), -2);
    EXPECT_EQ(LunarMonthOf(2023, 3, 21), 2);
    EXPECT_EQ(LunarMonthOf(2023, 4, 20), 3);
    EXPECT_EQ(LunarMonthOf(2034, 1, 10), -11);  // the leap month of 2033 reaches into January
}

TEST(CompareLunarDates, LeapMonthIsLaterWhateverTheDays) {
    EXPECT_EQ(CompareLunarDates({2023, 2, 1, true}, {2023, 2, 30, false}), 1);
    EXPECT_EQ(CompareLunarDates({2023, 2, 30, false}, {2023, 2, 1, true}), -1);
    EXPECT_EQ(CompareLunarDates({2023, 2, 5, true}, {2023, 2, 5, true}), 0);
    EXPECT_EQ(CompareLunarDates({2023, 3, 1, false}, {2023, 2, 29, true}), 1);
    EXPECT_EQ(CompareLunarDates({2022, 12, 1, false}, {2023, 1, 1, false}), -1);
}

// Each way the search can end, with the date or the reason there is none;
// the output is left alone unless a date is found.
TEST(LunarToSolar, SaysWhyThereIsNoDate) {
    const struct {
        LunarDate lunar;
        ConversionResult result;
        CivilDate civil;
    } cases[] = {
        {{2023, 2, 1, true}, ConversionResult::Converted, {2023, 3, 22}},
        {{2023, 12, 30, false}, ConversionResult::Converted, {2024, 2, 9}},
        {{2024, 2, 1, true}, ConversionResult::NoSuchLeapMonth},  // 2024 has no leap month
        {{2023, 3, 1, true}, ConversionResult::NoSuchLeapMonth},  // 2023 repeats its second month
        // Lunar 2024/1 has 29 days: the search stalls between 02-09 and 02-10.
        {{2024, 1, 30, false}, ConversionResult::TooManyProbes},
        {{2023, 13, 1, false}, ConversionResult::TooManyProbes},
        // From 9 to 23 the first month begins in December: lunar 12 has no twelfth month.
        {{12, 12, 29, false}, ConversionResult::NoSuchDay},
        // A day late in lunar 2100 makes the search probe civil 2101; lunar 0
        // makes it start below day number 0.
        {{2100, 12, 29, false}, ConversionResult::OutOfRange},
        {{0, 11, 19, false}, ConversionResult::OutOfRange},
    };
    for (const auto& c : cases) {
        CivilDate civil{1, 2, 3};
        EXPECT_EQ(convertLunarToSolar(c.lunar, civil), c.result)
            << c.lunar.Year << "/" << c.lunar.Month << "/" << c.lunar.Day;
        const bool converted = c.result == ConversionResult::Converted;
        EXPECT_EQ(civil, (converted ? c.civil : CivilDate{1, 2, 3})) << c.lunar.Year << "/" << c.lunar.Month;
        civil = {1, 2, 3};
        EXPECT_EQ(LunarToSolar(c.lunar, civil), converted) << c.lunar.Year << "/" << c.lunar.Month;
    }
}

TEST(LunarToSolar, RoundTripsEveryDayOfWholeYears) {
    // From civil year 2 on: the search for a lunar year 0 date starts below day number 0.
    for (const int year :
         {2, 436, 437, 700, 1200, 1574, 1575, 1582, 1583, 1640, 1659, 1900, 1916, 2018, 2023, 2025, 2099}) {
        for (CivilDate date{year, 1, 1}; date.Year == year; date = NextCivilDate(date)) {
            LunarDate lunar;
            ASSERT_TRUE(SolarToLunar(date.Year, date.Month, date.Day, lunar));
            CivilDate back;
            ASSERT_TRUE(LunarToSolar(lunar, back)) << date.Year << "-" << date.Month << "-" << date.Day;
            EXPECT_EQ(back, date) << lunar.Year << "/" << lunar.Month << "/" << lunar.Day;
        }
    }
}
