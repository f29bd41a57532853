// Pixels of the painted control: the selected cell, day numbers, the big
// background digits and the picture blend.
#include "CalendarTestSupport.h"
#include "CellPainter.h"
#include "Controls.h"
#include "LogLines.h"

#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tavlo::calendar {
namespace {

using test::Calendar;
using test::countPixels;
using test::date;
using test::near;

// A grid cell's rectangle in the control's coordinates.
QRect cellInControl(const Calendar& calendar, int column, int row) {
    return calendar.grid->cellRect(column, row).translated(calendar.grid->pos());
}

QImage shot(const Calendar& calendar) {
    return calendar.control->grab().toImage();
}

TEST(CalendarPaint, SelectedCellHasItsGradientAndFrame) {
    Calendar calendar;  // 2013-01-02: column 4, row 1
    const QRect cell = cellInControl(calendar, 4, 1);
    const QImage image = shot(calendar);
    const QColor frame = bgr(0x469300);
    EXPECT_EQ(image.pixelColor(cell.left(), cell.center().y()), frame);
    EXPECT_EQ(image.pixelColor(cell.right(), cell.center().y()), frame);
    EXPECT_EQ(image.pixelColor(cell.center().x(), cell.top()), frame);
    EXPECT_EQ(image.pixelColor(cell.center().x(), cell.bottom()), frame);
    EXPECT_TRUE(near(image.pixelColor(cell.left() + 1, cell.top() + 1), bgr(0x53AE00), 2));
    EXPECT_TRUE(near(image.pixelColor(cell.left() + 1, cell.bottom() - 1), bgr(0x65D500), 2));
    // Other cells show the background.
    EXPECT_EQ(image.pixelColor(cellInControl(calendar, 3, 1).topLeft() + QPoint(1, 1)), QColor(Qt::white));
}

TEST(CalendarPaint, HideSelectionShowsTheHighlightOnlyWithFocus) {
    Calendar calendar;
    const QPoint inside = cellInControl(calendar, 4, 1).topLeft() + QPoint(1, 1);
    calendar.control->setHideSelection(true);
    calendar.grid->clearFocus();
    EXPECT_EQ(shot(calendar).pixelColor(inside), QColor(Qt::white));
    calendar.control->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(calendar.control.get()));
    calendar.grid->setFocus();
    ASSERT_TRUE(calendar.grid->hasFocus());
    EXPECT_TRUE(near(shot(calendar).pixelColor(inside), bgr(0x53AE00), 2));
}

// The rows of ink in a cell: the lines where anything but white is drawn.
std::vector<int> inkRows(const QImage& image, const QRect& cell) {
    std::vector<int> rows;
    for (int y = cell.top(); y <= cell.bottom(); ++y) {
        for (int x = cell.left(); x <= cell.right(); ++x) {
            if (image.pixelColor(x, y) != QColor(Qt::white)) {
                rows.push_back(y);
                break;
            }
        }
    }
    return rows;
}

// In the 日历记事 window's size and fonts, each day's lunar text stays clear
// of the next row's day number (and of its 休/班 mark).
TEST(CalendarPaint, TheLinesOfOneRowKeepClearOfTheNext) {
    Calendar calendar;  // 419 × 255, as the notes window shows it
    calendar.control->setFontDate(widgets::pixelFont(QStringLiteral("黑体"), 12, true));
    calendar.control->setFontCnDate(widgets::pixelFont(QStringLiteral("宋体"), 12));
    calendar.control->setShowBackYearMonth(false);
    calendar.control->setDateTime(date(2024, 2, 29));  // 休 and 班 marks, festivals and terms; the 29th in row 5
    const QImage image = shot(calendar);
    for (int row = 1; row + 1 <= 5; ++row) {
        for (int column = 1; column <= 7; ++column) {
            SCOPED_TRACE(std::to_string(column) + ", " + std::to_string(row));
            const std::vector<int> above = inkRows(image, cellInControl(calendar, column, row));
            const std::vector<int> below = inkRows(image, cellInControl(calendar, column, row + 1));
            if (above.empty() || below.empty()) continue;
            EXPECT_GE(below.front() - above.back(), 3) << "no blank line between the rows";
        }
    }
}

// Today keeps its mark while another day is selected, and the selected
// day's texts read on the highlight (black on its green).
TEST(CalendarPaint, TodayIsMarkedAndTheSelectedDayReads) {
    Calendar calendar;                                 // today is 2013-01-02: column 4, row 1
    calendar.control->setDateTime(date(2013, 1, 17));  // column 5, row 3
    const QImage image = shot(calendar);
    EXPECT_GT(countPixels(image, cellInControl(calendar, 4, 1), QColor(0xC0, 0x00, 0x00)), 20);
    const QRect selected = cellInControl(calendar, 5, 3);
    EXPECT_GT(countPixels(image, selected, QColor(Qt::black)), 20);
    // None of the day's own colours is left on the highlight.
    EXPECT_EQ(countPixels(image, selected, bgr(0x008000)), 0);
    EXPECT_EQ(countPixels(image, selected, bgr(0x4F4F4F)), 0);
}

TEST(CalendarPaint, WeekendDayNumbersAreRedAndWeekdaysTakeTheDateColour) {
    Calendar calendar;
    calendar.control->setColorTitleWeekEnd(QColor(0, 0, 200));  // the headings only
    const QImage image = shot(calendar);
    auto upperHalf = [&](int column) {
        const QRect cell = cellInControl(calendar, column, 2);
        return QRect(cell.left(), cell.top(), cell.width(), cell.height() / 2);
    };
    const QColor red(255, 0, 0), date = bgr(0x4F4F4F);
    EXPECT_GT(countPixels(image, upperHalf(1), red), 0);  // Sunday 6 January
    EXPECT_GT(countPixels(image, upperHalf(7), red), 0);  // Saturday 12 January
    EXPECT_EQ(countPixels(image, upperHalf(4), red), 0);
    EXPECT_GT(countPixels(image, upperHalf(4), date), 0);
}

TEST(CalendarPaint, OwnerDrawHooksGetTheCellAndMayReplaceTheText) {
    Calendar calendar;
    std::vector<int> days;
    QRect seen;
    calendar.control->setOnDrawDateCell(
        [&](TChnCalendar* sender, int day, QPainter&, const QRect& cell, bool selected, QString& text, bool&) {
            EXPECT_EQ(sender, calendar.control.get());
            days.push_back(day);
            if (selected) seen = cell;
            if (day == 12) text.clear();  // Saturday: no red number left
        });
    calendar.control->setOnDrawCnDateCell(
        [](TChnCalendar*, int day, QPainter&, const QRect&, bool, QString&, bool& defaultDraw) {
            if (day == 2) defaultDraw = false;  // also leaves out the selection frame
        });
    const QImage image = shot(calendar);
    EXPECT_EQ(seen, QRect(0, 0, 55, 27));
    EXPECT_EQ(days.size(), 31u);
    const QRect saturday = cellInControl(calendar, 7, 2);
    EXPECT_EQ(countPixels(image, saturday.adjusted(0, 0, 0, -saturday.height() / 2), QColor(255, 0, 0)), 0);
    const QRect selected = cellInControl(calendar, 4, 1);
    EXPECT_NE(image.pixelColor(selected.left(), selected.center().y()), bgr(0x469300));
}

// A hook that fails leaves its cell with what was drawn so far, the other
// cells whole, and says what went wrong in the log.
TEST(CalendarPaint, AFailingHookCostsItsCellOnlyAndIsLogged) {
    Calendar calendar;
    const QColor green(0, 200, 0);
    calendar.control->setOnDrawDateCell(
        [&](TChnCalendar*, int day, QPainter& painter, const QRect& cell, bool, QString&, bool&) {
            if (day != 9) return;
            painter.fillRect(cell, green);
            throw std::runtime_error("the hook broke");
        });
    tavlo::test::LogLines log("tavlo.calendar");
    const QImage image = shot(calendar);
    const QRect failed = cellInControl(calendar, 4, 2), next = cellInControl(calendar, 5, 2);  // 9 and 10 January
    EXPECT_GT(countPixels(image, failed, green), 0);
    EXPECT_GT(countPixels(image, next, bgr(0x4F4F4F)), 0);
    const QStringList lines = log.take();
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_TRUE(lines.front().contains(QStringLiteral("the hook broke"))) << lines.front().toStdString();
}

TEST(CalendarPaint, BigPaleDigitsLieBehindTheGrid) {
    Calendar calendar;
    const QRect grid = calendar.grid->geometry();
    const QColor year = bgr(0xDDE8FF), month = bgr(0xEBEBEB);
    QImage image = shot(calendar);
    const int yearPixels = countPixels(image, grid, year), monthPixels = countPixels(image, grid, month);
    EXPECT_GT(yearPixels, 100);
    EXPECT_GT(monthPixels, 100);
    calendar.control->setShowBackYearMonth(false);
    image = shot(calendar);
    EXPECT_EQ(countPixels(image, grid, year), 0);
    EXPECT_LT(countPixels(image, grid, month), monthPixels / 10);  // a few edge pixels of grey texts remain
}

TEST(CalendarPaint, FrameOnlyWhenShown) {
    Calendar calendar;
    calendar.control->setColorShowFrame(QColor(10, 20, 30));
    EXPECT_EQ(shot(calendar).pixelColor(0, 100), QColor(10, 20, 30));
    calendar.control->setShowFrame(false);
    EXPECT_EQ(shot(calendar).pixelColor(0, 100), QColor(Qt::white));
}

TEST(CalendarPaint, PictureBlendsWithTheCornerColourAsKey) {
    struct Case {
        int alpha;
        QColor blended;
    } cases[] = {{50, QColor(127, 177, 255)}, {100, Qt::white}, {150, QColor(127, 177, 255)}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.alpha);
        Calendar calendar;
        QImage picture(419, 255, QImage::Format_RGB32);
        picture.fill(QColor(0, 100, 255));
        picture.setPixelColor(0, 0, Qt::white);
        picture.setPixelColor(300, 232, Qt::white);  // the key colour elsewhere
        calendar.control->setAlphaBlend(static_cast<std::uint8_t>(c.alpha));
        calendar.control->setBackGround(picture);
        const QImage image = shot(calendar);
        EXPECT_EQ(image.pixelColor(310, 232), c.blended);
        EXPECT_EQ(image.pixelColor(300, 232), QColor(Qt::white));
    }
}

TEST(CalendarPaint, PicturePlacement) {
    const QColor blue(0, 0, 255);
    QImage picture(100, 50, QImage::Format_RGB32);
    picture.fill(blue);
    struct Case {
        bool center, stretch;
        QPoint inside, outside;  // of the placed picture, in the control
    } cases[] = {
        {false, false, {99, 49}, {100, 50}},
        {true, false, {160, 103}, {150, 100}},  // at (159, 103)
        {false, true, {418, 208}, {100, 215}},  // 419 × 209 at (0, 0)
        {true, true, {200, 230}, {200, 22}},    // 419 × 209 at (0, 23)
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.center << c.stretch);
        Calendar calendar;
        calendar.control->setCenter(c.center);
        calendar.control->setStretch(c.stretch);
        calendar.control->setBackGround(picture);
        const QImage& placed = calendar.control->PictureBitmap();
        ASSERT_EQ(placed.size(), QSize(419, 255));
        EXPECT_EQ(placed.pixelColor(c.inside), blue);
        EXPECT_EQ(placed.pixelColor(c.outside), QColor(Qt::white));
    }
}

TEST(CalendarPaint, EmptyPictureIsLeftOut) {
    Calendar calendar;
    calendar.control->setStretch(true);
    calendar.control->setBackGround(QImage(0, 10, QImage::Format_RGB32));
    EXPECT_TRUE(calendar.control->PictureBitmap().isNull());
    EXPECT_EQ(shot(calendar).pixelColor(310, 232), QColor(Qt::white));
}

TEST(CalendarPaint, WeekdayHeadingsAreLongOnlyInWideColumns) {
    struct Case {
        int column, width;
        const char* text;
    } cases[] = {{1, 53, "星期日"}, {7, 53, "星期六"}, {2, 37, "星期一"}, {1, 36, "日"}, {4, 36, "三"}, {7, 10, "六"}};
    for (const Case& c : cases) EXPECT_EQ(WeekdayHeading(c.column, c.width), QString::fromUtf8(c.text));
}

}  // namespace
}  // namespace tavlo::calendar
