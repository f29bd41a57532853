// The user's ways to move the date, with real mouse and key events, and the
// moments of OnChange, OnDateSelect and OnDateClick.
#include "CalendarMenus.h"
#include "CalendarTestSupport.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QCursor>
#include <QLabel>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

namespace tavlo::calendar {
namespace {

using test::Calendar;
using test::date;
using test::EventLog;
using Events = QStringList;

// The pointer goes to the cell first, as it would for a person.
void pointAt(Calendar& calendar, QPoint cell) {
    QCursor::setPos(calendar.grid->mapToGlobal(calendar.cellCentre(cell.x(), cell.y())));
    QApplication::processEvents();
}

void press(Calendar& calendar, QPoint cell) {
    pointAt(calendar, cell);
    QTest::mousePress(calendar.grid, Qt::LeftButton, {}, calendar.cellCentre(cell.x(), cell.y()));
}

void release(Calendar& calendar, QPoint cell) {
    QTest::mouseRelease(calendar.grid, Qt::LeftButton, {}, calendar.cellCentre(cell.x(), cell.y()));
}

// What the platform sends on a right click.
void rightClick(QWidget* widget, QPoint at) {
    QTest::mouseClick(widget, Qt::RightButton, {}, at);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, widget->mapToGlobal(at));
    QApplication::sendEvent(widget, &event);
}

// The pointer leaves the control for somewhere else. The offscreen platform
// does not report that reliably once earlier windows have come and gone, so
// the Leave that a window system sends is delivered here as well.
void leaveControl(Calendar& calendar) {
    QCursor::setPos(calendar.control->mapToGlobal(QPoint(600, 600)));
    QApplication::processEvents();
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(calendar.control.get(), &leave);
}

// Press on one day and release: the events of the press, then of the release.
std::pair<Events, Events> click(Calendar& calendar, EventLog& log, QPoint cell) {
    log.events.clear();
    press(calendar, cell);
    const Events pressed = log.events;
    log.events.clear();
    release(calendar, cell);
    return {pressed, log.events};
}

TEST(CalendarGrid, ClickOnADayRaisesTheEventsOfItsMoment) {
    Calendar calendar;
    EventLog log(calendar.control.get());
    const Events selectChange{"OnDateSelect", "OnChange"};
    const Events selectChangeClick{"OnDateSelect", "OnChange", "OnDateClick"};
    const Events select{"OnDateSelect"};

    // The first press after entering is reported only after the selection.
    EXPECT_EQ(click(calendar, log, calendar.cellOfDay(8)), std::make_pair(selectChange, select));
    EXPECT_EQ(calendar.day(), 8);
    EXPECT_EQ(click(calendar, log, calendar.cellOfDay(9)), std::make_pair(selectChangeClick, select));
    EXPECT_EQ(calendar.day(), 9);
    // The selected day again, at midnight: no change.
    EXPECT_EQ(click(calendar, log, calendar.cellOfDay(9)), std::make_pair(Events{"OnDateClick"}, select));
    // After GoToday the time of day differs, so the same day changes the value.
    calendar.control->GoToday();
    EXPECT_EQ(calendar.control->DateTime(), test::kNow);
    EXPECT_EQ(click(calendar, log, calendar.cellOfDay(2)), std::make_pair(Events{"OnChange", "OnDateClick"}, select));
    EXPECT_EQ(calendar.control->DateTime(), date(2013, 1, 2));

    // Leaving the control forgets the press.
    leaveControl(calendar);
    EXPECT_EQ(click(calendar, log, calendar.cellOfDay(20)), std::make_pair(selectChange, select));
    EXPECT_EQ(click(calendar, log, calendar.cellOfDay(21)), std::make_pair(selectChangeClick, select));
}

TEST(CalendarGrid, CellsWithoutADayNeverBecomeCurrent) {
    Calendar calendar;  // January 2013 begins on a Tuesday: cells 1 and 2 are empty
    EventLog log(calendar.control.get());
    click(calendar, log, calendar.cellOfDay(10));
    const QPoint cells[] = {{1, 1}, {2, 1}, {3, 0}, {0, 3}, {8, 3}, {5, 6}, {6, 6}, {7, 6}, {3, 6}};
    for (const QPoint& cell : cells) {
        SCOPED_TRACE(testing::Message() << cell.x() << "," << cell.y());
        const auto [pressed, released] = click(calendar, log, cell);
        EXPECT_TRUE(pressed.isEmpty());
        EXPECT_TRUE(released.isEmpty());
        EXPECT_EQ(calendar.day(), 10);
        EXPECT_EQ(QPoint(calendar.grid->column(), calendar.grid->row()), calendar.cellOfDay(10));
    }
}

TEST(CalendarGrid, DragSelectsEachDayEntered) {
    Calendar calendar;
    EventLog log(calendar.control.get());
    press(calendar, calendar.cellOfDay(7));
    log.events.clear();
    for (int day : {8, 9, 16}) {
        const QPoint cell = calendar.cellOfDay(day);
        pointAt(calendar, cell);
        QTest::mouseMove(calendar.grid, calendar.cellCentre(cell.x(), cell.y()));
        QApplication::processEvents();
        EXPECT_EQ(calendar.day(), day);
    }
    EXPECT_EQ(log.events, (Events{"OnDateSelect", "OnChange", "OnDateClick", "OnDateSelect", "OnChange", "OnDateClick",
                                  "OnDateSelect", "OnChange", "OnDateClick"}));
    log.events.clear();
    release(calendar, calendar.cellOfDay(16));
    EXPECT_EQ(log.events, Events{"OnDateSelect"});
}

TEST(CalendarGrid, KeysMoveToAllowedDays) {
    Calendar calendar;
    EventLog log(calendar.control.get());
    click(calendar, log, calendar.cellOfDay(16));  // Wednesday, row 3
    leaveControl(calendar);
    // The pointer is away: only the change; the press was forgotten with it.
    log.events.clear();
    QTest::keyClick(calendar.grid, Qt::Key_Right);
    EXPECT_EQ(calendar.day(), 17);
    EXPECT_EQ(log.events, Events{"OnChange"});

    struct Case {
        int from;
        Qt::Key key;
        int to;
    } cases[] = {
        {16, Qt::Key_Left, 15},     {16, Qt::Key_Up, 9},     {16, Qt::Key_Down, 23},
        {16, Qt::Key_Home, 13},     {16, Qt::Key_End, 19},   {16, Qt::Key_PageUp, 2},
        {16, Qt::Key_PageDown, 30}, {1, Qt::Key_Left, 1},    {1, Qt::Key_Up, 1},  // nothing before the 1st
        {31, Qt::Key_Down, 31},     {31, Qt::Key_Right, 31}, {4, Qt::Key_Home, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.from << " key " << c.key);
        calendar.control->setDateTime(date(2013, 1, c.from));
        QTest::keyClick(calendar.grid, c.key);
        EXPECT_EQ(calendar.day(), c.to);
    }
}

TEST(CalendarGrid, ArrowOntoTheDayUnderThePointerSelectsItTwice) {
    Calendar calendar;
    EventLog log(calendar.control.get());
    click(calendar, log, calendar.cellOfDay(16));
    pointAt(calendar, calendar.cellOfDay(17));
    log.events.clear();
    QTest::keyClick(calendar.grid, Qt::Key_Right);
    EXPECT_EQ(log.events, (Events{"OnDateSelect", "OnChange", "OnDateClick", "OnDateSelect"}));
}

TEST(CalendarGrid, WheelMovesByAWeek) {
    Calendar calendar;
    calendar.control->setDateTime(date(2013, 1, 16));
    const QPoint at = calendar.cellCentre(4, 3);
    auto wheel = [&](int delta) {
        QWheelEvent event(at, calendar.grid->mapToGlobal(at), {}, {0, delta}, Qt::NoButton, {}, Qt::NoScrollPhase,
                          false);
        QApplication::sendEvent(calendar.grid, &event);
    };
    wheel(-120);
    EXPECT_EQ(calendar.day(), 23);
    wheel(120);
    wheel(120);
    EXPECT_EQ(calendar.day(), 9);
}

TEST(CalendarGrid, ErrorInADateClickHandlerFallsBackToToday) {
    Calendar calendar;
    EventLog log(calendar.control.get());
    click(calendar, log, calendar.cellOfDay(8));
    QObject::connect(calendar.control.get(), &TChnCalendar::OnDateClick, calendar.control.get(),
                     [](TChnCalendar*) { throw std::runtime_error("handler"); });
    click(calendar, log, calendar.cellOfDay(9));
    EXPECT_EQ(calendar.control->DateTime(), test::kNow);
}

TEST(CalendarSpins, StepMonthAndYearWithinTheRange) {
    struct Case {
        double from;
        const char* spin;
        int direction;
        double to;
    } cases[] = {
        {date(2013, 1, 31), "MonthSpin", 1, date(2013, 2, 28)},
        {date(2013, 3, 31), "MonthSpin", 1, date(2013, 4, 30)},
        {date(2013, 12, 15), "MonthSpin", 1, date(2014, 1, 15)},
        {date(2013, 1, 15), "MonthSpin", -1, date(2012, 12, 15)},
        {date(1, 1, 15), "MonthSpin", -1, date(1, 1, 15)},         // no year 0: stays
        {date(2100, 12, 15), "MonthSpin", 1, date(2100, 12, 15)},  // 2101 is ignored
        {date(2012, 2, 29), "YearSpin", 1, date(2013, 2, 28)},
        {date(2013, 6, 1) + 0.25, "YearSpin", -1, date(2012, 6, 1)},  // the time of day is dropped
        {date(2100, 6, 1), "YearSpin", 1, date(2100, 6, 1)},          // the spin stops at 2100
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.spin << " " << c.direction << " from " << c.from);
        Calendar calendar;
        calendar.control->setDateTime(c.from);
        auto* spin = calendar.control->findChild<TSpinButton*>(QString::fromUtf8(c.spin));
        const QPoint arrow(spin->width() / 2, c.direction > 0 ? 2 : spin->height() - 3);
        QTest::mouseClick(spin, Qt::LeftButton, {}, arrow);
        EXPECT_EQ(calendar.control->DateTime(), c.to);
        EXPECT_EQ(calendar.yearSpin->position(), calendar.year());
        EXPECT_EQ(calendar.monthSpin->position(), calendar.month());
        EXPECT_EQ(calendar.control->findChild<QLabel*>(QStringLiteral("YearLabel"))->text(),
                  QString::number(calendar.year()));
    }
}

QAction* item(QMenu* menu, int tag, const QString& name) {
    for (QAction* action : menu->findChildren<QAction*>()) {
        if (action->objectName() == name && ItemTag(action) == tag && !action->menu()) return action;
    }
    return nullptr;
}

TEST(CalendarMenus, ChoosingAMonthOrYearKeepsTheDayWherePossible) {
    Calendar calendar;
    auto* months = calendar.control->findChild<QMenu*>(QStringLiteral("MonthMenu"));
    auto* years = calendar.control->findChild<QMenu*>(QStringLiteral("YearMenu"));
    struct Case {
        double from;
        QMenu* menu;
        int tag;
        QString name;
        double to;
    } cases[] = {
        {date(2012, 2, 29), years, 1900, "MenuYear_1900", date(1900, 2, 28)},  // 1900 is no leap year
        {date(2012, 5, 6), years, 10, "MenuYear_History_10", date(10, 5, 6)},
        {date(2012, 5, 6), years, 2099, "MenuYear_2099", date(2099, 5, 6)},
        {date(2013, 1, 31), months, 2, "MenuMonth_1", date(2013, 2, 28)},
        {date(2013, 1, 31), months, 12, "MenuMonth_11", date(2013, 12, 31)},
        {date(2013, 5, 31), months, 0, "MenuMonth_ToDay", test::kNow},
        {date(2013, 5, 31), years, 0, "MenuYear_ToDay", test::kNow},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        calendar.control->setDateTime(c.from);
        QAction* action = item(c.menu, c.tag, c.name);
        ASSERT_NE(action, nullptr);
        action->trigger();
        EXPECT_EQ(calendar.control->DateTime(), c.to);
    }
}

TEST(CalendarTitle, LabelsOpenTheMenusAndTodayGoesToToday) {
    Calendar calendar;
    auto* months = calendar.control->findChild<QMenu*>(QStringLiteral("MonthMenu"));
    auto* years = calendar.control->findChild<QMenu*>(QStringLiteral("YearMenu"));
    auto label = [&](const char* name) { return calendar.control->findChild<QLabel*>(QString::fromUtf8(name)); };

    calendar.control->setDateTime(date(2020, 7, 7));
    QTest::mouseClick(label("TodayLabel"), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(calendar.control->DateTime(), test::kNow);

    struct Case {
        const char* label;
        Qt::MouseButton button;
        QMenu* menu;
    } cases[] = {{"MonthLabel", Qt::LeftButton, months},
                 {"MonthUnitLabel", Qt::RightButton, months},
                 {"YearLabel", Qt::LeftButton, years},
                 {"YearUnitLabel", Qt::RightButton, years}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        if (c.button == Qt::RightButton)
            rightClick(label(c.label), QPoint(3, 3));
        else
            QTest::mouseClick(label(c.label), c.button, {}, QPoint(3, 3));
        EXPECT_TRUE(c.menu->isVisible());
        c.menu->hide();
    }
    EXPECT_EQ(label("YearLabel")->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(label("StatusLabel")->cursor().shape(), Qt::ArrowCursor);
}

// By keyboard alone: Tab reaches the month number, the month spin, the year
// number, the year spin, 今天 and the grid, in that order; each does what
// the mouse does with it.
TEST(CalendarKeyboard, TabReachesEveryTitleControlAndEachWorks) {
    Calendar calendar;
    calendar.control->setDateTime(date(2020, 7, 7));
    QWidget* control = calendar.control.get();
    control->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(control));
    calendar.control->findChild<QWidget*>(QStringLiteral("MonthLabel"))->setFocus(Qt::TabFocusReason);
    QStringList order;
    for (int i = 0; i < 6; ++i) {
        order << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(order.join(u' ').toStdString(), "MonthLabel MonthSpin YearLabel YearSpin TodayLabel DayGrid");

    const auto keyOn = [&](const char* name, Qt::Key key) {
        QWidget* target = control->findChild<QWidget*>(QString::fromUtf8(name));
        target->setFocus(Qt::TabFocusReason);
        QTest::keyClick(target, key);
    };
    keyOn("MonthSpin", Qt::Key_Up);
    EXPECT_EQ(calendar.control->DateTime(), date(2020, 8, 7));
    keyOn("MonthSpin", Qt::Key_Down);
    keyOn("MonthSpin", Qt::Key_Down);
    EXPECT_EQ(calendar.control->DateTime(), date(2020, 6, 7));
    keyOn("YearSpin", Qt::Key_Up);
    EXPECT_EQ(calendar.control->DateTime(), date(2021, 6, 7));
    keyOn("TodayLabel", Qt::Key_Return);
    EXPECT_EQ(calendar.control->DateTime(), test::kNow);

    const struct {
        const char* label;
        const char* menu;
    } menus[] = {{"MonthLabel", "MonthMenu"}, {"YearLabel", "YearMenu"}};
    for (const auto& m : menus) {
        SCOPED_TRACE(m.label);
        keyOn(m.label, Qt::Key_Space);
        auto* menu = control->findChild<QMenu*>(QString::fromUtf8(m.menu));
        EXPECT_TRUE(menu->isVisible());
        QWidget* label = control->findChild<QWidget*>(QString::fromUtf8(m.label));
        EXPECT_EQ(menu->pos(), label->mapToGlobal(QPoint(0, label->height())));
        menu->hide();
    }
}

// WCAG's contrast ratio of two colours.
double contrast(QColor a, QColor b) {
    const auto luminance = [](QColor c) {
        const auto channel = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Reached by the keyboard, the grid's current day shows a ring that differs
// at least 3:1 from the same pixels unfocused, all the way round (over the
// selection's green as over the white).
TEST(CalendarKeyboard, TheCurrentDayShowsAFocusRingOfEnoughContrast) {
    Calendar calendar;
    calendar.control->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(calendar.control.get()));
    QWidget* today = calendar.control->findChild<QWidget*>(QStringLiteral("TodayLabel"));
    today->setFocus(Qt::OtherFocusReason);
    const QImage unfocused = calendar.grid->grab().toImage();
    QTest::keyClick(today, Qt::Key_Tab);
    ASSERT_TRUE(calendar.grid->hasFocus());
    const QImage focused = calendar.grid->grab().toImage();
    const QRect cell = calendar.grid->cellRect(4, 1);  // 2013-01-02, the current day
    // The ring's three pixels across, at each step round the cell.
    const auto worstAcross = [&](QPoint outer, QPoint inward) {
        double best = 0;
        for (int k = 1; k <= 3; ++k) {
            const QPoint at = outer + inward * k;
            best = std::max(best, contrast(focused.pixelColor(at), unfocused.pixelColor(at)));
        }
        return best;
    };
    double worst = 100;
    for (int x = cell.left() + 4; x <= cell.right() - 4; ++x) {
        worst = std::min(worst, worstAcross({x, cell.top()}, {0, 1}));
        worst = std::min(worst, worstAcross({x, cell.bottom()}, {0, -1}));
    }
    for (int y = cell.top() + 4; y <= cell.bottom() - 4; ++y) {
        worst = std::min(worst, worstAcross({cell.left(), y}, {1, 0}));
        worst = std::min(worst, worstAcross({cell.right(), y}, {-1, 0}));
    }
    EXPECT_GE(worst, 3.0);
}

// Ctrl+PageUp/PageDown turn the month and Ctrl+Shift+PageUp/PageDown the
// year from anywhere in the control; PageUp alone still moves in the grid.
TEST(CalendarKeyboard, CtrlPageKeysTurnMonthsAndYears) {
    Calendar calendar;
    calendar.control->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(calendar.control.get()));
    const struct {
        const char* focus;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        double to;
    } cases[] = {
        {"DayGrid", Qt::Key_PageDown, Qt::ControlModifier, date(2020, 8, 31)},
        {"DayGrid", Qt::Key_PageUp, Qt::ControlModifier, date(2020, 6, 30)},
        {"TodayLabel", Qt::Key_PageDown, Qt::ControlModifier | Qt::ShiftModifier, date(2021, 7, 31)},
        {"MonthSpin", Qt::Key_PageUp, Qt::ControlModifier | Qt::ShiftModifier, date(2019, 7, 31)},
        {"DayGrid", Qt::Key_PageUp, Qt::NoModifier, date(2020, 7, 3)},  // the first row of its column
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.focus + std::string(" ") + std::to_string(c.key) + " " + std::to_string(c.modifiers));
        calendar.control->setDateTime(date(2020, 7, 31));
        QWidget* target = calendar.control->findChild<QWidget*>(QString::fromUtf8(c.focus));
        target->setFocus(Qt::TabFocusReason);
        QTest::keyClick(target, c.key, c.modifiers);
        EXPECT_EQ(calendar.control->DateTime(), c.to);
    }
}

TEST(CalendarTitle, WithoutTitleARightClickInTheGridOpensTheYearMenu) {
    Calendar calendar;
    auto* years = calendar.control->findChild<QMenu*>(QStringLiteral("YearMenu"));
    rightClick(calendar.grid, calendar.cellCentre(3, 3));
    EXPECT_FALSE(years->isVisible());
    calendar.control->setShowTitle(false);
    rightClick(calendar.grid, calendar.cellCentre(3, 3));
    EXPECT_TRUE(years->isVisible());
    years->hide();
    EXPECT_EQ(calendar.day(), 2);  // a right click selects nothing
}

}  // namespace
}  // namespace tavlo::calendar
