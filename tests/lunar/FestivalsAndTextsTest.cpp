#include "Festivals.h"
#include "LunarTexts.h"
#include "TextFields.h"

#include <gtest/gtest.h>

using namespace tavlo::lunar;

TEST(LunarTexts, DayNames) {
    const std::pair<int, const char*> cases[] = {{1, "初一"},  {9, "初九"},  {10, "初十"}, {11, "十一"},
                                                 {19, "十九"}, {20, "二十"}, {21, "廿一"}, {29, "廿九"},
                                                 {30, "三十"}, {0, ""},      {31, ""},     {-1, ""}};
    for (const auto& [day, text] : cases) EXPECT_EQ(LunarDayText(day), text) << day;
}

TEST(LunarTexts, MonthNames) {
    EXPECT_EQ(LunarMonthText(1, false), "正月");
    EXPECT_EQ(LunarMonthText(11, false), "冬月");
    EXPECT_EQ(LunarMonthText(12, false), "腊月");
    EXPECT_EQ(LunarMonthText(4, true), "闰四");
    EXPECT_EQ(LunarMonthText(11, true), "闰冬");
    EXPECT_EQ(LunarMonthText(13, false), "");
}

TEST(Festivals, GregorianFestivals) {
    const std::tuple<int, int, int, const char*> cases[] = {
        {2024, 1, 1, "元旦节"},  {2024, 2, 14, "情人节"},  {2024, 3, 8, "妇女节"},  {2024, 4, 1, "愚人节"},
        {2024, 5, 1, "劳动节"},  {2024, 5, 4, "青年节"},   {2024, 5, 12, "母亲节"}, {2024, 5, 5, ""},
        {2024, 5, 19, ""},       {2024, 6, 1, "儿童节"},   {2024, 6, 16, "父亲节"}, {2024, 6, 9, ""},
        {2024, 7, 1, "建党节"},  {2024, 8, 1, "建军节"},   {2024, 9, 10, "教师节"}, {2024, 10, 1, "国庆节"},
        {2024, 10, 6, "老人节"}, {2024, 10, 31, "万圣节"}, {2024, 11, 8, "记者日"}, {2024, 11, 28, "感恩节"},
        {2024, 11, 21, ""},      {2024, 12, 25, "圣诞节"}, {2024, 12, 24, ""},      {2023, 5, 14, "母亲节"}};
    for (const auto& [y, m, d, name] : cases) EXPECT_EQ(HolidayOf(d, EncodeDate(y, m, d)), name) << m << "-" << d;
}

TEST(Festivals, LunarFestivals) {
    const TDateTime anyDay = EncodeDate(2024, 7, 1);
    const std::tuple<int, int, const char*> cases[] = {
        {1, 1, "春节"},    {1, 15, "元宵节"}, {5, 5, "端午节"}, {7, 7, "七夕节"}, {8, 15, "中秋节"}, {9, 9, "重阳节"},
        {12, 8, "腊八节"}, {2, 1, ""},        {8, 5, ""},       {6, 15, ""},      {3, 3, ""}};
    for (const auto& [month, day, name] : cases)
        EXPECT_EQ(LunarHolidayOf(month, day, anyDay), name) << month << "/" << day;
}

TEST(Festivals, NewYearsEveIsTheLastDayOfTheTwelfthMonth) {
    EXPECT_EQ(LunarHolidayOf(12, 30, EncodeDate(2024, 2, 9)), "除夕");
    EXPECT_EQ(LunarHolidayOf(12, 29, EncodeDate(2024, 2, 8)), "");
    // 1915's twelfth month has 29 days.
    EXPECT_EQ(LunarHolidayOf(12, 29, EncodeDate(1916, 2, 2)), "除夕");
    // Days 1, 5, 7, 8, 9 and 15 never look at the next day.
    EXPECT_EQ(LunarHolidayOf(12, 15, EncodeDate(2024, 2, 9)), "");
    LunarDate lunar;
    ASSERT_TRUE(LunarDateOf(EncodeDate(2024, 2, 10) + 0.75, lunar));
    EXPECT_EQ(lunar.Month, 1);
    EXPECT_EQ(lunar.Day, 1);
}

TEST(TextFields, FieldOfTrimsAndCountsFromOne) {
    const std::string_view row = "1911,37,0,近、现代,中华民国,,民国";
    EXPECT_EQ(FieldOf(row, ',', 1), "1911");
    EXPECT_EQ(FieldOf(row, ',', 4), "近、现代");
    EXPECT_EQ(FieldOf(row, ',', 6), "");
    EXPECT_EQ(FieldOf(row, ',', 7), "民国");
    EXPECT_EQ(FieldOf(row, ',', 8), "");
    EXPECT_EQ(FieldOf(row, ',', 0), "");
    EXPECT_EQ(FieldOf(" a \t,\r\n b ", ',', 2), "b");
    EXPECT_EQ(IfThenStr(true, "元", "2"), "元");
    EXPECT_EQ(IfThenStr(false, "元", "2"), "2");
}
