// 休 and 班 in the day cells: each day's arrangement in the month, where the
// mark is painted, and what leaves it out.
#include "CalendarTestSupport.h"
#include "CellPainter.h"
#include "HolidayParser.h"
#include "MonthModel.h"
#include "ProgramHolidays.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace tavlo::calendar {
namespace {

using holidays::DayKind;
using test::Calendar;
using test::countPixels;
using test::date;

const QColor kRed(255, 0, 0), kGrey(128, 128, 128);

// Pixels of a small glyph in `colour`, its smoothed edges included.
int inkOf(const QImage& image, const QRect& area, const QColor& colour) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) count += test::near(image.pixelColor(x, y), colour, 40);
    return count;
}

DayKind kindOfDay(const TMonthModel& model, int day) {
    for (int i = 1; i <= kLastDayCell; ++i)
        if (model.Cells[i].Valid && model.Cells[i].Day == day) return model.Cells[i].Arrangement;
    ADD_FAILURE() << "no cell for day " << day;
    return DayKind::Ordinary;
}

TEST(HolidayMarks, EachDayOfTheMonthHasItsArrangement) {
    const holidays::HolidayTable table = holidays::builtInHolidays();
    lunar::TChnCal engine;
    TMonthModel model;
    model.Rebuild(engine, date(2024, 2, 1), {}, &table);
    for (int day = 1; day <= 29; ++day) {
        const DayKind expected = day == 4 || day == 18    ? DayKind::Work
                                 : day >= 10 && day <= 17 ? DayKind::Off
                                                          : DayKind::Ordinary;
        EXPECT_EQ(kindOfDay(model, day), expected) << "2024-02-" << day;
    }
    // A year without data shows nothing, and neither does a month without a table.
    model.Rebuild(engine, date(2030, 10, 1), {}, &table);
    EXPECT_EQ(kindOfDay(model, 1), DayKind::Ordinary);
    model.Rebuild(engine, date(2024, 2, 1), {}, &table);
    model.Rebuild(engine, date(2024, 2, 1), {}, nullptr);
    EXPECT_EQ(kindOfDay(model, 10), DayKind::Ordinary);
}

// The mark's corner of a day's cell, in the control's coordinates.
QRect markOfDay(const Calendar& calendar, int day) {
    const QPoint cell = calendar.cellOfDay(day);
    const QRect rect = calendar.grid->cellRect(cell.x(), cell.y());
    return HolidayMarkBox(rect.width(), rect.height()).translated(rect.topLeft() + calendar.grid->pos());
}

TEST(HolidayMarks, RedRestAndGreyWorkInTheTopRightCorner) {
    Calendar calendar;
    calendar.control->setDateTime(date(2024, 2, 20));
    QImage image = calendar.control->grab().toImage();
    EXPECT_GT(inkOf(image, markOfDay(calendar, 14), kRed), 5);   // a Wednesday of the Spring Festival
    EXPECT_GT(inkOf(image, markOfDay(calendar, 18), kGrey), 5);  // the Sunday worked
    EXPECT_EQ(inkOf(image, markOfDay(calendar, 21), kRed) + inkOf(image, markOfDay(calendar, 21), kGrey), 0);

    calendar.control->setShowHolidayMarks(false);
    image = calendar.control->grab().toImage();
    EXPECT_EQ(inkOf(image, markOfDay(calendar, 14), kRed), 0);
    EXPECT_EQ(inkOf(image, markOfDay(calendar, 18), kGrey), 0);

    calendar.control->setShowHolidayMarks(true);
    calendar.control->setHolidays(std::make_shared<const holidays::HolidayTable>());  // no year known
    image = calendar.control->grab().toImage();
    EXPECT_EQ(inkOf(image, markOfDay(calendar, 14), kRed), 0);
}

TEST(HolidayMarks, AHostsMarkAlongTheBottomLeavesBothInView) {
    Calendar calendar;
    calendar.control->setDateTime(date(2024, 2, 20));
    const QColor blue(0, 0, 255);
    // As the notes window marks a day that has a note: a line along the bottom.
    calendar.control->setOnDrawDateCell(
        [&](TChnCalendar*, int day, QPainter& canvas, const QRect& cell, bool, QString&, bool&) {
            if (day == 14) canvas.fillRect(QRect(cell.left() + 4, cell.bottom() - 1, cell.width() - 8, 2), blue);
        });
    const QImage image = calendar.control->grab().toImage();
    const QPoint place = calendar.cellOfDay(14);
    const QRect cell = calendar.grid->cellRect(place.x(), place.y()).translated(calendar.grid->pos());
    EXPECT_GT(countPixels(image, cell.adjusted(0, cell.height() - 2, 0, 0), blue), 10);
    EXPECT_GT(inkOf(image, markOfDay(calendar, 14), kRed), 5);
    EXPECT_LT(markOfDay(calendar, 14).bottom(), cell.center().y());
}

}  // namespace
}  // namespace tavlo::calendar
