#include "DateTimeValue.h"

#include <gtest/gtest.h>

using namespace tavlo::lunar;

TEST(DateTimeValue, CountsDaysFrom18991230) {
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
    EXPECT_EQ(EncodeDate(2024, 2, 10), 45332);
    EXPECT_EQ(EncodeDate(1, 1, 1), -693593);
    EXPECT_EQ(DecodeDate(45332.75), (CivilDate{2024, 2, 10}));
    // The whole part is cut toward zero: -1.25 is 1899-12-29, 06:00.
    EXPECT_EQ(DecodeDate(-1.25), (CivilDate{1899, 12, 29}));
}

TEST(DateTimeValue, IsProlepticGregorianForEveryYear) {
    for (const CivilDate date : {CivilDate{-849, 1, 21}, CivilDate{0, 2, 29}, CivilDate{1582, 10, 10},
                                 CivilDate{-400, 2, 29}, CivilDate{2100, 12, 31}}) {
        TDateTime value = 0;
        ASSERT_TRUE(TryEncodeDate(date.Year, date.Month, date.Day, value)) << date.Year;
        EXPECT_EQ(DecodeDate(value), date);
    }
    TDateTime untouched = 7;
    EXPECT_FALSE(TryEncodeDate(100, 2, 29, untouched));  // a Julian leap day only
    EXPECT_FALSE(TryEncodeDate(-1, 2, 29, untouched));
    EXPECT_FALSE(TryEncodeDate(2024, 13, 1, untouched));
    EXPECT_EQ(untouched, 7);
    EXPECT_THROW(EncodeDate(2023, 2, 29), std::invalid_argument);
    EXPECT_EQ(EncodeDate(1, 1, 1) - EncodeDate(0, 12, 31), 1);
}

TEST(DateTimeValue, Weekdays) {
    EXPECT_EQ(WeekdayOf(EncodeDate(2024, 5, 12)), 0);  // Sunday
    EXPECT_EQ(WeekdayOf(EncodeDate(1899, 12, 30)), 6);
    EXPECT_EQ(WeekdayOf(-1.5), 5);                 // 1899-12-29, a Friday
    EXPECT_EQ(GregorianWeekday(2024, 11, 28), 4);  // Thursday
    EXPECT_EQ(GregorianWeekday(100, 2, 29), GregorianWeekday(100, 3, 1));
}
