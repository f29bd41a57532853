#include "LeapMonthTable.h"

#include <gtest/gtest.h>

using namespace tavlo::lunar;

TEST(LeapMonthTable, HasOneCodeForEveryYearFromMinus849To2100) {
    EXPECT_EQ(LeapMonthTable.size(), 2950u);
    EXPECT_EQ(LeapMonthTable.find_first_not_of("0123456789abc"), std::string_view::npos);
}

TEST(LeapMonthTable, RunningCountCheckValues) {
    const std::pair<int, int> cases[] = {{-849, 0},    {-848, 1},    {-1, 311},   {0, 311},
                                         {1, 311},     {1200, 753},  {1500, 863}, {1900, 1011},
                                         {2000, 1047}, {2024, 1056}, {2100, 1084}};
    for (const auto& [year, count] : cases) EXPECT_EQ(LeapMonthsThrough(year), count) << year;
}

TEST(LeapMonthTable, CodesOfYears) {
    const std::pair<int, int> cases[] = {{2023, 2}, {2024, 0},  {2020, 4}, {2033, 11}, {1984, 10},
                                         {2025, 6}, {-848, 12}, {0, 0},    {-850, -1}, {2101, -1}};
    for (const auto& [year, code] : cases) EXPECT_EQ(LeapMonthCode(year), code) << year;
    EXPECT_EQ(LeapMonthOf(-850), 0);
    EXPECT_EQ(LeapMonthOf(2033), 11);
}

TEST(LeapMonthTable, MonthOffsetsChangeAtTheirBoundaries) {
    const std::pair<int, int> cases[] = {{-849, 1},  {-722, 1}, {-721, 0}, {-256, 0}, {-255, -2},
                                         {-254, -3}, {8, -3},   {9, -2},   {23, -2},  {24, -3},
                                         {237, -3},  {238, -2}, {240, -2}, {241, -3}, {2100, -3}};
    for (const auto& [year, offset] : cases) EXPECT_EQ(MonthOffset(year), offset) << year;
}
