#pragma once
#include "ChnCalendarPicker.h"
#include "DayGrid.h"
#include "SpinButton.h"

#include <QColor>
#include <QImage>
#include <QObject>
#include <QStringList>

#include <memory>

namespace tavlo::calendar::test {

double date(int year, int month, int day);

// A shown calendar with a fixed "now" (2013-01-02 10:30) and a fixed date.
struct Calendar {
    std::unique_ptr<TChnCalendar> control;
    TDayGrid* grid = nullptr;
    TSpinButton* monthSpin = nullptr;
    TSpinButton* yearSpin = nullptr;

    explicit Calendar(QSize size = {419, 255});
    int year() const;
    int month() const;
    int day() const;
    // The centre of a grid cell in grid coordinates.
    QPoint cellCentre(int column, int row) const;
    QPoint cellOfDay(int day) const;  // (column, row) of a day of the month shown
};

inline constexpr double kNow = 41276.4375;  // 2013-01-02 10:30

// Records the control's three events in order, by name.
class EventLog : public QObject {
public:
    explicit EventLog(TChnCalendar* control);
    QStringList events;
};

// Pixels that are exactly `colour` inside `area`.
int countPixels(const QImage& image, const QRect& area, const QColor& colour);
bool near(const QColor& a, const QColor& b, int tolerance);

}  // namespace tavlo::calendar::test
