#pragma once
#include <QDate>
#include <QDateTime>

namespace tavlo::calendar {

// The control's date-time value of a local date and time: days since
// 1899-12-30 (proleptic Gregorian), the time of day as the fraction.
double dateTimeValue(const QDateTime& local);

// The calendar day of a date-time value: its whole part, toward zero, so that
// a time of day before 1899 stays on its own day.
QDate calendarDay(double dateTime);

}  // namespace tavlo::calendar
