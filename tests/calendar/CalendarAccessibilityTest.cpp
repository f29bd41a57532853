// The calendar as a screen reader sees it: the grid a table of named day
// cells that can be chosen, the title's controls buttons and spin boxes
// with names and actions.
#include "CalendarTestSupport.h"

#include <QAccessible>
#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

namespace tavlo::calendar {
namespace {

using test::Calendar;
using test::date;

QAccessibleInterface* accessible(QObject* object) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(object);
    EXPECT_NE(face, nullptr);
    return face;
}

TEST(CalendarAccessibility, TheGridIsATableOfNamedDays) {
    Calendar calendar;  // 2013-01-02, which is today
    calendar.control->setDayDescription(
        [](int year, int month, int day) { return year == 2013 && month == 1 && day == 5 ? "有记事" : QString(); });
    QAccessibleInterface* grid = accessible(calendar.grid);
    EXPECT_EQ(grid->role(), QAccessible::Table);
    EXPECT_EQ(grid->text(QAccessible::Name), QStringLiteral("日历"));
    QAccessibleTableInterface* table = grid->tableInterface();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->rowCount(), 6);
    EXPECT_EQ(table->columnCount(), 7);
    EXPECT_EQ(table->columnDescription(0), QStringLiteral("星期日"));
    EXPECT_EQ(grid->childCount(), 42);

    // January 2013 begins on a Tuesday: row 0, column 2.
    const struct {
        int row, column;
        const char* name;
    } cells[] = {
        {0, 2, "2013年1月1日 星期二，农历冬月二十，元旦节，休息日"},
        {0, 3, "2013年1月2日 星期三，今天，农历冬月廿一，休息日"},
        {0, 6, "2013年1月5日 星期六，农历冬月廿四，小寒，调休上班，有记事"},
        {0, 0, ""},  // no day of this month
    };
    for (const auto& c : cells) {
        SCOPED_TRACE(c.name);
        QAccessibleInterface* cell = table->cellAt(c.row, c.column);
        ASSERT_NE(cell, nullptr);
        EXPECT_EQ(cell->role(), QAccessible::Cell);
        EXPECT_EQ(cell->text(QAccessible::Name), QString::fromUtf8(c.name));
        EXPECT_EQ(cell->parent(), grid);
        EXPECT_EQ(grid->indexOfChild(cell), c.row * 7 + c.column);
        EXPECT_EQ(cell->tableCellInterface()->rowIndex(), c.row);
        EXPECT_EQ(cell->rect(),
                  QRect(calendar.grid->mapToGlobal(calendar.grid->cellRect(c.column + 1, c.row + 1).topLeft()),
                        calendar.grid->cellRect(c.column + 1, c.row + 1).size()));
    }
    EXPECT_TRUE(table->cellAt(0, 3)->state().selected);
    EXPECT_EQ(table->selectedCells(), QList<QAccessibleInterface*>{table->cellAt(0, 3)});
    EXPECT_EQ(grid->childAt(table->cellAt(2, 4)->rect().center().x(), table->cellAt(2, 4)->rect().center().y()),
              table->cellAt(2, 4));

    // A screen reader's press chooses the day, as a click does.
    QAccessibleInterface* seventeenth = table->cellAt(2, 4);  // Thursday the 17th
    ASSERT_TRUE(seventeenth->actionInterface());
    seventeenth->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QApplication::processEvents();
    EXPECT_EQ(calendar.control->DateTime(), date(2013, 1, 17));
    EXPECT_TRUE(seventeenth->state().selected);
    EXPECT_TRUE(seventeenth->state().focused);
    EXPECT_EQ(grid->focusChild(), seventeenth);
}

TEST(CalendarAccessibility, TitleControlsAreButtonsAndSpinBoxesWithActions) {
    Calendar calendar;
    const auto face = [&](const char* name) {
        return accessible(calendar.control->findChild<QWidget*>(QString::fromUtf8(name)));
    };
    const struct {
        const char* control;
        QAccessible::Role role;
        const char* name;
    } controls[] = {
        {"TodayLabel", QAccessible::Button, "回到今天"},     {"MonthLabel", QAccessible::ButtonMenu, "选择月份"},
        {"YearLabel", QAccessible::ButtonMenu, "选择年份"},  {"MonthSpin", QAccessible::SpinBox, "上月/下月"},
        {"YearSpin", QAccessible::SpinBox, "上一年/下一年"},
    };
    for (const auto& c : controls) {
        SCOPED_TRACE(c.control);
        QAccessibleInterface* control = face(c.control);
        EXPECT_EQ(control->role(), c.role);
        EXPECT_EQ(control->text(QAccessible::Name), QString::fromUtf8(c.name));
        ASSERT_TRUE(control->actionInterface());
        EXPECT_FALSE(control->actionInterface()->actionNames().isEmpty());
    }
    face("MonthSpin")->actionInterface()->doAction(QAccessibleActionInterface::increaseAction());
    QApplication::processEvents();
    EXPECT_EQ(calendar.control->DateTime(), date(2013, 2, 2));
    face("YearSpin")->actionInterface()->doAction(QAccessibleActionInterface::decreaseAction());
    QApplication::processEvents();
    EXPECT_EQ(calendar.control->DateTime(), date(2012, 2, 2));
    face("TodayLabel")->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QApplication::processEvents();
    EXPECT_EQ(calendar.control->DateTime(), test::kNow);
}

}  // namespace
}  // namespace tavlo::calendar
