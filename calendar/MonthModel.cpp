#include "MonthModel.h"

#include "CalendarTexts.h"
#include "DateTimeValue.h"

#include <cmath>

namespace tavlo::calendar {
namespace {

QString text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

// Days of a proleptic Gregorian date counted from 1899-12-30.
int serial(int year, int month, int day) {
    return static_cast<int>(lunar::EncodeDate(year, month, day));
}

// Fills cell i from the engine's analysis of its day; the later rule wins, so
// a lunar festival beats a solar term, which beats a Gregorian festival.
void fillDayCell(TDayCell& cell, int day, const lunar::TChnCal& engine, const TCellColours& colours) {
    cell.DayText = QString::number(day);
    cell.Day = day;
    cell.CnMonthText = text(engine.LunarMonthName);
    cell.CnDayText = text(engine.LunarDayName);
    if (cell.CnDayText == QStringLiteral("初一")) {
        cell.CnColor = bgr(0x0000FF);
        cell.CnText = cell.CnMonthText;
    } else {
        cell.CnText = cell.CnDayText;
        cell.CnColor = colours.CnDate;
    }
    if (!engine.Holiday.empty()) {
        cell.CnText = text(engine.Holiday);
        cell.CnColor = colours.Holiday;
    }
    if (!engine.SolarTerm.empty()) {
        cell.CnText = text(engine.SolarTerm);
        cell.CnColor = colours.LunarHolDay;
    }
    if (!engine.LunarHoliday.empty()) {
        cell.CnText = text(engine.LunarHoliday);
        cell.CnColor = colours.CnHolDay;
    }
}

int daysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return kDays[month - 1] + (month == 2 && lunar::IsGregorianLeapYear(year) ? 1 : 0);
}

}  // namespace

QPoint CellPosition(int index) {
    if (index % 7 != 0) return {index % 7, index / 7 + 1};
    return {7, index / 7};
}

int IsoWeekNumber(int year, int month, int day) {
    const int date = serial(year, month, day);
    const int isoWeekday = (lunar::WeekdayOf(date) + 6) % 7 + 1;  // Monday 1 .. Sunday 7
    const int thursday = date - isoWeekday + 4;
    const int thursdayYear = lunar::DecodeDate(thursday).Year;
    return (thursday - serial(thursdayYear, 1, 1)) / 7 + 1;
}

void TMonthModel::Rebuild(lunar::TChnCal& engine, lunar::TDateTime dateTime, const TCellColours& colours,
                          const holidays::HolidayTable* holidayTable) {
    const lunar::CivilDate date = lunar::DecodeDate(dateTime);
    Year = date.Year;
    MonthNumber = date.Month;
    DayNumber = date.Day;

    engine.AnalyseDate(dateTime);
    CnMonth = text(engine.LunarMonthName);
    CnDay = text(engine.LunarDayName);
    CnDate = CnMonth + CnDay;
    for (int i = kConstellationCell; i <= kAnimalCell; ++i) Cells[i].Valid = true;
    Cells[kGanZhiCell].DayText = text(engine.YearGanZhi);
    Cells[kAnimalCell].DayText = texts::animalYear(text(engine.Animal));
    if (Year >= 1949)
        StatusText = QStringLiteral("%1-%2-%3")
                         .arg(Year, 4, 10, QLatin1Char('0'))
                         .arg(MonthNumber, 2, 10, QLatin1Char('0'))
                         .arg(DayNumber, 2, 10, QLatin1Char('0'));
    else
        StatusText = text(engine.EraName);
    StatusText += texts::lunarDate(CnDate);

    for (QString& week : WeekNumbers) week.clear();
    for (int i = 1; i <= kLastDayCell; ++i) {
        TDayCell& cell = Cells[i];
        cell.Valid = false;
        cell.CnMonthText.clear();
        cell.CnDayText.clear();
        cell.CnText.clear();
        cell.Arrangement = holidays::DayKind::Ordinary;
        cell.DayColor = (i % 7 == 0 || i % 7 == 1) ? bgr(0x0000FF) : colours.Date;
    }

    const int offset = lunar::GregorianWeekday(Year, MonthNumber, 1) + 1;
    const int days = daysInMonth(Year, MonthNumber);
    int lastWeek = -1;
    int row = 1;
    for (int i = offset; i < offset + days; ++i) {
        const int dd = i - offset + 1;
        const lunar::TDateTime day = lunar::EncodeDate(Year, MonthNumber, dd);
        engine.AnalyseDate(day);
        const int week = IsoWeekNumber(Year, MonthNumber, dd);
        if (week != lastWeek) {
            lastWeek = week;
            WeekNumbers[row++] = QString::number(week);
        }
        fillDayCell(Cells[i], dd, engine, colours);
        if (holidayTable) Cells[i].Arrangement = holidayTable->kindOf(static_cast<int>(day));
        if (dd == DayNumber) {
            Cells[kConstellationCell].DayText = text(engine.Constellation);
            SelectedCell = i;
        }
        Cells[i].Valid = true;
    }
}

}  // namespace tavlo::calendar
