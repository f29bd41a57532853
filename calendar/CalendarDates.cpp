#include "CalendarDates.h"

#include <cmath>

namespace tavlo::calendar {

namespace {
const QDate kDayZero(1899, 12, 30);
constexpr double kMillisecondsADay = 86400000.0;
}  // namespace

double dateTimeValue(const QDateTime& local) {
    return static_cast<double>(kDayZero.daysTo(local.date())) + local.time().msecsSinceStartOfDay() / kMillisecondsADay;
}

QDate calendarDay(double dateTime) {
    return kDayZero.addDays(static_cast<qint64>(std::trunc(dateTime)));
}

}  // namespace tavlo::calendar
