#include "CalendarTestSupport.h"

#include "DateTimeValue.h"

#include <QApplication>
#include <QTest>

#include <cstdlib>

namespace tavlo::calendar::test {

double date(int year, int month, int day) {
    return lunar::EncodeDate(year, month, day);
}

Calendar::Calendar(QSize size) : control(std::make_unique<TChnCalendar>()) {
    control->setClock([] { return kNow; });
    control->resize(size);
    control->setDateTime(date(2013, 1, 2));
    control->show();
    [[maybe_unused]] bool exposed = QTest::qWaitForWindowExposed(control.get());
    grid = control->findChild<TDayGrid*>(QStringLiteral("DayGrid"));
    monthSpin = control->findChild<TSpinButton*>(QStringLiteral("MonthSpin"));
    yearSpin = control->findChild<TSpinButton*>(QStringLiteral("YearSpin"));
}

int Calendar::year() const {
    return lunar::DecodeDate(control->DateTime()).Year;
}
int Calendar::month() const {
    return lunar::DecodeDate(control->DateTime()).Month;
}
int Calendar::day() const {
    return lunar::DecodeDate(control->DateTime()).Day;
}

QPoint Calendar::cellCentre(int column, int row) const {
    return grid->cellRect(column, row).center();
}

QPoint Calendar::cellOfDay(int day) const {
    for (int i = 1; i <= kLastDayCell; ++i) {
        const TDayCell& cell = control->Month().Cells[i];
        if (cell.Valid && cell.Day == day) return CellPosition(i);
    }
    return {-1, -1};
}

EventLog::EventLog(TChnCalendar* control) {
    connect(control, &TChnCalendar::OnChange, this, [this](TChnCalendar*) { events << "OnChange"; });
    connect(control, &TChnCalendar::OnDateSelect, this, [this](TChnCalendar*) { events << "OnDateSelect"; });
    connect(control, &TChnCalendar::OnDateClick, this, [this](TChnCalendar*) { events << "OnDateClick"; });
}

int countPixels(const QImage& image, const QRect& area, const QColor& colour) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (image.pixelColor(x, y).rgb() == colour.rgb()) ++count;
        }
    }
    return count;
}

bool near(const QColor& a, const QColor& b, int tolerance) {
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

}  // namespace tavlo::calendar::test
