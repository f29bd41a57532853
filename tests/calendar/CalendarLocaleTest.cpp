// The calendar's own texts are Chinese whatever locale the system runs in.
#include "CalendarMenus.h"
#include "CalendarTestSupport.h"
#include "CellPainter.h"

#include <QLocale>
#include <QMenu>

#include <gtest/gtest.h>

namespace tavlo::calendar {
namespace {

using test::Calendar;

// The weekday row as painted, for the locale made the default.
QImage weekdayRow(const Calendar& calendar) {
    const QRect grid = calendar.grid->geometry();
    return calendar.control->grab(QRect(grid.left(), grid.top(), grid.width(), 18)).toImage();
}

TEST(CalendarLocale, WeekdaysAndMonthsAreChineseInEveryLocale) {
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    const QLocale locales[] = {QLocale::c(), QLocale(QLocale::English, QLocale::UnitedStates), chinese};
    QImage expectedRow;
    for (const QLocale& locale : locales) {
        SCOPED_TRACE(locale.name().toStdString());
        QLocale::setDefault(locale);
        Calendar calendar;
        EXPECT_EQ(WeekdayHeading(1, 53), QStringLiteral("星期日"));
        EXPECT_EQ(WeekdayHeading(4, 53), QStringLiteral("星期三"));
        const QImage row = weekdayRow(calendar);
        if (expectedRow.isNull()) expectedRow = row;
        EXPECT_EQ(row, expectedRow);  // painted alike

        const QList<QAction*> items = calendar.control->findChild<QMenu*>(QStringLiteral("MonthMenu"))->actions();
        ASSERT_EQ(items.size(), 14);
        QStringList months;
        for (int i = 2; i < 14; ++i) months << items[i]->text();
        EXPECT_EQ(months.join(QLatin1Char(' ')),
                  QStringLiteral("一月 二月 三月 四月 五月 六月 七月 八月 九月 十月 十一月 十二月"));
    }
    QLocale::setDefault(chinese);
}

}  // namespace
}  // namespace tavlo::calendar
