// The month a calendar shows, without painting: placement, week numbers,
// texts, colours and the status line.
#include "CalendarTestSupport.h"
#include "DateTimeValue.h"
#include "MonthModel.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <future>
#include <string>

namespace tavlo::calendar {
namespace {

using test::date;

TMonthModel built(int year, int month, int day, const TCellColours& colours = {}) {
    lunar::TChnCal engine;
    TMonthModel model;
    model.Rebuild(engine, date(year, month, day), colours);
    return model;
}

TEST(MonthModel, PlacesTheDaysFromTheWeekdayOfTheFirst) {
    struct Case {
        int year, month, firstCell, lastCell;
    } cases[] = {
        {2024, 9, 1, 30},   // begins on a Sunday
        {2012, 12, 7, 37},  // 31 days beginning on a Saturday: the last possible cell
        {2015, 2, 1, 28},   // four whole weeks
        {2024, 2, 5, 33},   // leap February from a Thursday
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.year << "-" << c.month);
        const TMonthModel model = built(c.year, c.month, 1);
        for (int i = 1; i <= kCellCount; ++i) {
            const bool isDay = i >= c.firstCell && i <= c.lastCell;
            const bool isInformation = i >= kConstellationCell;
            EXPECT_EQ(model.Cells[i].Valid, isDay || isInformation) << "cell " << i;
            if (isDay) {
                EXPECT_EQ(model.Cells[i].Day, i - c.firstCell + 1);
                EXPECT_EQ(model.Cells[i].DayText, QString::number(i - c.firstCell + 1));
            }
        }
    }
}

TEST(MonthModel, WeekNumbersFollowTheDistinctIsoWeeksInDayOrder) {
    struct Case {
        int year, month;
        const char* rows[6];
    } cases[] = {
        {2024, 9, {"35", "36", "37", "38", "39", "40"}},  // 1st a Sunday: six weeks, the sixth row has no days
        {2021, 1, {"53", "1", "2", "3", "4", ""}},        // 1st a Friday in the last week of 2020
        {2019, 12, {"48", "49", "50", "51", "52", "1"}},  // the 30th opens week 1 of 2020
        {2015, 2, {"5", "6", "7", "8", "9", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.year << "-" << c.month);
        const TMonthModel model = built(c.year, c.month, 10);
        for (int row = 1; row <= 6; ++row) EXPECT_EQ(model.WeekNumbers[row], QString::fromUtf8(c.rows[row - 1]));
    }
}

TEST(MonthModel, IsoWeekNumbersAtTheTurnOfTheYear) {
    struct Case {
        int year, month, day, week;
    } cases[] = {{2020, 12, 31, 53}, {2021, 1, 3, 53},   {2021, 1, 4, 1},  {2008, 12, 29, 1},
                 {2024, 9, 1, 35},   {2015, 12, 31, 53}, {2016, 1, 1, 53}, {1, 1, 1, 1}};
    for (const Case& c : cases) {
        EXPECT_EQ(IsoWeekNumber(c.year, c.month, c.day), c.week) << c.year << "-" << c.month << "-" << c.day;
    }
}

TEST(MonthModel, LunarLineTakesFestivalThenSolarTermThenGregorianFestival) {
    TCellColours colours;
    colours.Date = bgr(0x111111);
    colours.CnDate = bgr(0x222222);
    colours.Holiday = bgr(0x333333);
    colours.LunarHolDay = bgr(0x444444);
    colours.CnHolDay = bgr(0x555555);
    struct Case {
        int year, month, day;
        const char* text;
        QColor colour;
    } cases[] = {
        {2001, 11, 22, "小雪", colours.LunarHolDay},  // solar term over 感恩节
        {2000, 2, 19, "元宵节", colours.CnHolDay},    // lunar festival over 雨水
        {2001, 10, 1, "中秋节", colours.CnHolDay},    // lunar festival over 国庆节
        {2010, 2, 14, "春节", colours.CnHolDay},      // over 情人节 and the first lunar day
        {2024, 10, 1, "国庆节", colours.Holiday},    {2024, 4, 4, "清明", colours.LunarHolDay},
        {2024, 9, 3, "八月", bgr(0x0000FF)},  // first lunar day: the month name in red
        {2024, 9, 4, "初二", colours.CnDate},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.year << "-" << c.month << "-" << c.day);
        const TMonthModel model = built(c.year, c.month, 1, colours);
        const TDayCell* cell = nullptr;
        for (int i = 1; i <= kLastDayCell; ++i) {
            if (model.Cells[i].Valid && model.Cells[i].Day == c.day) cell = &model.Cells[i];
        }
        ASSERT_NE(cell, nullptr);
        EXPECT_EQ(cell->CnText, QString::fromUtf8(c.text));
        EXPECT_EQ(cell->CnColor, c.colour);
    }
}

TEST(MonthModel, WeekendDayNumbersAreRedWhateverTheDateColour) {
    TCellColours colours;
    colours.Date = bgr(0x123456);
    const TMonthModel model = built(2024, 9, 1, colours);
    for (int i = 1; i <= 30; ++i) {
        const bool weekend = i % 7 == 0 || i % 7 == 1;
        EXPECT_EQ(model.Cells[i].DayColor, weekend ? bgr(0x0000FF) : colours.Date) << "cell " << i;
    }
}

TEST(MonthModel, TitleTextsAndInformationCellsDescribeTheSelectedDate) {
    lunar::TChnCal engine;
    engine.AnalyseDate(date(1948, 5, 1));
    const QString era = QString::fromStdString(engine.EraName);
    ASSERT_FALSE(era.isEmpty());
    struct Case {
        int year, month, day;
        QString status, constellation, ganZhi, animal;
        int selected;
    } cases[] = {
        {2013, 1, 2, QStringLiteral("2013-01-02 农历冬月廿一"), "摩羯", "壬辰", "龙年", 4},
        {1949, 1, 1, QStringLiteral("1949-01-01 农历腊月初三"), "摩羯", "戊子", "鼠年", 7},
        {1948, 5, 1, era + QStringLiteral(" 农历三月廿三"), "金牛", "戊子", "鼠年", 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.status.toStdString());
        const TMonthModel model = built(c.year, c.month, c.day);
        EXPECT_EQ(model.StatusText, c.status);
        EXPECT_EQ(model.SelectedCell, c.selected);
        EXPECT_EQ(model.Cells[kConstellationCell].DayText, c.constellation);
        EXPECT_EQ(model.Cells[kGanZhiCell].DayText, c.ganZhi);
        EXPECT_EQ(model.Cells[kAnimalCell].DayText, c.animal);
    }
}

TEST(MonthModel, CellPositionAndIndexAreInverse) {
    for (int i = 1; i <= kCellCount; ++i) {
        const QPoint at = CellPosition(i);
        EXPECT_GE(at.x(), 1);
        EXPECT_LE(at.x(), 7);
        EXPECT_EQ(CellIndex(at.x(), at.y()), i);
    }
}

// The engine reads labels before 1582-10-15 as Julian dates, and 5 to 14
// October 1582 are the days that calendar dropped: it has no lunar day for
// them, so their lines are not checked.
bool droppedDay(int year, int month, int day) {
    return year == 1582 && month == 10 && day >= 5 && day <= 14;
}

// Checks every month of years first..last; returns the first fault found.
std::string walkMonths(int first, int last) {
    lunar::TChnCal engine;
    TMonthModel model;
    for (int year = first; year <= last; ++year) {
        for (int month = 1; month <= 12; ++month) {
            model.Rebuild(engine, date(year, month, 1), {});
            const double next = month == 12 ? date(year + 1, 1, 1) : date(year, month + 1, 1);
            const int days = static_cast<int>(next - date(year, month, 1));
            int shown = 0;
            for (int i = 1; i <= kLastDayCell; ++i) {
                const TDayCell& cell = model.Cells[i];
                if (!cell.Valid) continue;
                ++shown;
                if (cell.Day != shown || (cell.CnText.isEmpty() && !droppedDay(year, month, shown))) {
                    return std::to_string(year) + "-" + std::to_string(month) + " cell " + std::to_string(i);
                }
            }
            if (shown != days) return std::to_string(year) + "-" + std::to_string(month) + " day count";
        }
    }
    return {};
}

// Every month of the control's range shows exactly its days, each with a
// lunar line; the two halves of the range run side by side.
TEST(MonthModel, EveryMonthOfYearsOneTo2100ShowsExactlyItsDays) {
    const auto started = std::chrono::steady_clock::now();
    auto early = std::async(std::launch::async, walkMonths, 1, 1050);
    const std::string late = walkMonths(1051, 2100);
    EXPECT_EQ(early.get(), "");
    EXPECT_EQ(late, "");
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("walked 25200 months in %.1f s\n", seconds);
}

}  // namespace
}  // namespace tavlo::calendar
