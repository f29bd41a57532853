// The control's parts, geometry, date setting and menus.
#include "CalendarMenus.h"
#include "CalendarTestSupport.h"

#include <QLabel>
#include <QMenu>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace tavlo::calendar {
namespace {

using test::Calendar;
using test::date;

std::vector<int> columns(const TDayGrid* grid) {
    std::vector<int> widths;
    for (int c = 0; c < grid->columnCount(); ++c) widths.push_back(grid->columnWidth(c));
    return widths;
}

std::vector<int> rows(const TDayGrid* grid) {
    std::vector<int> heights;
    for (int r = 0; r < grid->rowCount(); ++r) heights.push_back(grid->rowHeight(r));
    return heights;
}

TEST(CalendarLayout, GridRowsAndColumnsFollowTheControlSize) {
    struct Case {
        QSize size;
        QRect grid;
        std::vector<int> columns, rows;
    } cases[] = {
        {{313, 253}, {8, 40, 298, 186}, {6, 40, 40, 40, 40, 40, 40, 40, 12}, {18, 27, 27, 27, 27, 27, 33}},
        {{419, 255}, {8, 40, 404, 188}, {6, 55, 55, 55, 55, 55, 55, 55, 13}, {18, 27, 27, 27, 27, 27, 35}},
    };
    for (const Case& c : cases) {
        Calendar calendar(c.size);
        EXPECT_EQ(calendar.grid->geometry(), c.grid);
        EXPECT_EQ(columns(calendar.grid), c.columns);
        EXPECT_EQ(rows(calendar.grid), c.rows);
    }
}

TEST(CalendarLayout, InitialSizeAndTitleAfterConstruction) {
    TChnCalendar control;
    EXPECT_EQ(control.size(), QSize(313, 253));
    EXPECT_TRUE(control.ShowTitle());
    EXPECT_EQ(control.BackBitmap().size(), QSize(313, 253));
    EXPECT_TRUE(control.PictureBitmap().isNull());
}

TEST(CalendarLayout, WithoutTitleTheGridCoversTheTitleAndTheSpinsHide) {
    Calendar calendar;
    calendar.control->setShowTitle(false);
    EXPECT_EQ(calendar.grid->geometry(), QRect(2, 2, 415, 251));
    EXPECT_FALSE(calendar.monthSpin->isVisible());
    EXPECT_FALSE(calendar.yearSpin->isVisible());
    EXPECT_EQ(calendar.grid->popupMenu(), calendar.control->findChild<QMenu*>(QStringLiteral("YearMenu")));
    calendar.control->setShowTitle(true);
    EXPECT_TRUE(calendar.monthSpin->isVisible());
    EXPECT_EQ(calendar.grid->popupMenu(), nullptr);
}

TEST(CalendarLayout, WeekNumbersWidenColumnZeroUntilTheNextLayout) {
    Calendar calendar;
    calendar.control->setShowWeekNum(true);
    EXPECT_EQ(columns(calendar.grid), (std::vector<int>{18, 55, 55, 55, 55, 55, 55, 55, 13}));
    EXPECT_EQ(calendar.grid->cellRect(1, 1).left(), 18);  // pushed 12 pixels right
    calendar.control->resize(420, 255);
    EXPECT_EQ(columns(calendar.grid), (std::vector<int>{18, 54, 54, 54, 54, 54, 54, 54, 9}));
}

TEST(CalendarLayout, TitleLabelsShowTheDateAndTheMonthEndsBeforeItsUnit) {
    Calendar calendar;
    auto* year = calendar.control->findChild<QLabel*>(QStringLiteral("YearLabel"));
    auto* month = calendar.control->findChild<QLabel*>(QStringLiteral("MonthLabel"));
    auto* status = calendar.control->findChild<QLabel*>(QStringLiteral("StatusLabel"));
    EXPECT_EQ(year->text(), "2013");
    EXPECT_EQ(year->pos(), QPoint(120, 0));
    EXPECT_EQ(status->text(), QStringLiteral("2013-01-02 农历冬月廿一"));
    EXPECT_EQ(calendar.control->CnDate(), QStringLiteral("冬月廿一"));
    EXPECT_EQ(calendar.control->CnMonth(), QStringLiteral("冬月"));
    EXPECT_EQ(calendar.control->CnDay(), QStringLiteral("廿一"));
    const int oneDigitRight = month->geometry().right();
    calendar.control->setDateTime(date(2013, 11, 2));
    EXPECT_EQ(month->text(), "11");
    EXPECT_EQ(month->geometry().right(), oneDigitRight);
    EXPECT_GT(month->width(), 0);
}

TEST(CalendarDate, ChangesOnlyOnANewValueWithinYearsOneTo2100) {
    Calendar calendar;
    QSignalSpy changes(calendar.control.get(), &TChnCalendar::OnChange);
    struct Step {
        double value;
        int changesAfter;
        double stored;
    } steps[] = {
        {date(2013, 5, 6), 1, date(2013, 5, 6)},
        {date(2013, 5, 6), 1, date(2013, 5, 6)},              // the same value again
        {date(2013, 5, 6) + 0.5, 2, date(2013, 5, 6) + 0.5},  // another time of the same day
        {date(2101, 1, 1), 2, date(2013, 5, 6) + 0.5},        // beyond 2100: ignored
        {date(0, 12, 31), 2, date(2013, 5, 6) + 0.5},         // the year 0
        {std::numeric_limits<double>::quiet_NaN(), 2, date(2013, 5, 6) + 0.5},
        {1e300, 2, date(2013, 5, 6) + 0.5},
        {0, 3, 0},  // 1899-12-30
        {date(1, 1, 1), 4, date(1, 1, 1)},
        {date(2100, 12, 31), 5, date(2100, 12, 31)},
    };
    for (const Step& step : steps) {
        calendar.control->setDateTime(step.value);
        EXPECT_EQ(changes.count(), step.changesAfter) << step.value;
        EXPECT_EQ(calendar.control->DateTime(), step.stored) << step.value;
    }
}

TEST(CalendarDate, WritingTheLunarTextsOnlyStoresThemUntilTheNextRebuild) {
    Calendar calendar;
    calendar.control->setCnDate(QStringLiteral("x"));
    EXPECT_EQ(calendar.control->CnDate(), "x");
    calendar.control->setDateTime(date(2013, 1, 3));
    EXPECT_EQ(calendar.control->CnDate(), QStringLiteral("冬月廿二"));
}

TEST(CalendarDate, ACellColourChangeRecoloursAtOnceAndRaisesOnChange) {
    Calendar calendar;
    QSignalSpy changes(calendar.control.get(), &TChnCalendar::OnChange);
    calendar.control->setColorCnDate(QColor(1, 2, 3));
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(calendar.control->Month().Cells[4].CnColor, QColor(1, 2, 3));  // 2 January, 廿一
    calendar.control->setColorTitleYear(QColor(9, 9, 9));
    EXPECT_EQ(calendar.control->ColorTitleYear(), QColor(9, 9, 9));
    EXPECT_EQ(changes.count(), 1);
}

TEST(CalendarMenus, MonthMenuHoldsTodayAndTheLocaleMonths) {
    Calendar calendar;
    auto* menu = calendar.control->findChild<QMenu*>(QStringLiteral("MonthMenu"));
    ASSERT_NE(menu, nullptr);
    const QList<QAction*> items = menu->actions();
    ASSERT_EQ(items.size(), 14);
    EXPECT_EQ(items[0]->text(), QStringLiteral("今日"));
    EXPECT_EQ(items[0]->objectName(), "MenuMonth_ToDay");
    EXPECT_EQ(menu->defaultAction(), items[0]);
    EXPECT_TRUE(items[1]->isSeparator());
    EXPECT_EQ(items[1]->objectName(), "MenuMonth_ToDay_");
    EXPECT_EQ(items[2]->text(), QStringLiteral("一月"));
    EXPECT_EQ(items[13]->text(), QStringLiteral("十二月"));
    for (int month = 1; month <= 12; ++month) {
        EXPECT_EQ(items[month + 1]->objectName(), QStringLiteral("MenuMonth_%1").arg(month - 1));
        EXPECT_EQ(ItemTag(items[month + 1]), month);
    }
}

TEST(CalendarMenus, YearMenuHoldsHistoryCenturiesAndDecades) {
    Calendar calendar;
    auto* menu = calendar.control->findChild<QMenu*>(QStringLiteral("YearMenu"));
    ASSERT_NE(menu, nullptr);
    const QList<QAction*> items = menu->actions();
    ASSERT_EQ(items.size(), 24);
    EXPECT_EQ(items[0]->objectName(), "MenuYear_ToDay");
    EXPECT_EQ(menu->defaultAction(), items[0]);
    EXPECT_EQ(items[1]->objectName(), "MenuYear_ToDay_1");
    EXPECT_EQ(items[2]->text(), QStringLiteral("历史日期"));
    EXPECT_EQ(items[3]->objectName(), "MenuYear_ToDay_2");
    EXPECT_TRUE(items[1]->isSeparator() && items[3]->isSeparator());

    const QList<QAction*> centuries = items[2]->menu()->actions();
    ASSERT_EQ(centuries.size(), 19);
    for (int k = 0; k < 19; ++k) {
        const int first = 10 + 100 * k;
        EXPECT_EQ(centuries[k]->text(), QString::number(first - 10));
        EXPECT_EQ(centuries[k]->objectName(), QStringLiteral("MenuYear_History_%1").arg(first));
        const QList<QAction*> years = centuries[k]->menu()->actions();
        ASSERT_EQ(years.size(), 10);
        for (int j = 0; j < 10; ++j) {
            EXPECT_EQ(ItemTag(years[j]), first + 10 * j);
            EXPECT_EQ(years[j]->objectName(), QStringLiteral("MenuYear_History_%1").arg(first + 10 * j));
        }
    }
    for (int k = 0; k < 20; ++k) {
        const int decade = 1900 + 10 * k;
        QAction* group = items[4 + k];
        EXPECT_EQ(group->text(), QString::number(decade));
        EXPECT_EQ(group->objectName(), QStringLiteral("MenuYear_%1").arg(decade));
        const QList<QAction*> years = group->menu()->actions();
        ASSERT_EQ(years.size(), 10);
        EXPECT_EQ(ItemTag(years.front()), decade);
        EXPECT_EQ(years.back()->text(), QString::number(decade + 9));
    }
}

}  // namespace
}  // namespace tavlo::calendar
