#include "MonthModel.h"

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

// Code the toolkit runs (it starts with the application object) can leave
// the upper halves of the AVX registers dirty. The engine's SSE arithmetic
// and the math library then pay a state-transition penalty on nearly every
// instruction: a month rebuild measured fifteen times slower. Clearing the
// state before the engine's work costs nothing.
[[gnu::noinline]] void clearUpperVectorState() {
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
    static const bool avx = __builtin_cpu_supports("avx");
    if (avx) __asm__ volatile("vzeroupper" ::: "memory");
#endif
}

// Qt's text conversions between the analyses may dirty the state again.
void analyse(lunar::TChnCal& engine, lunar::TDateTime date) {
    clearUpperVectorState();
    engine.AnalyseDate(date);
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

void TMonthModel::Rebuild(lunar::TChnCal& engine, lunar::TDateTime dateTime, const TCellColours& colours) {
    const lunar::CivilDate date = lunar::DecodeDate(dateTime);
    Year = date.Year;
    MonthNumber = date.Month;
    DayNumber = date.Day;

    analyse(engine, dateTime);
    CnMonth = text(engine.LunarMonthName);
    CnDay = text(engine.LunarDayName);
    CnDate = CnMonth + CnDay;
    for (int i = kConstellationCell; i <= kAnimalCell; ++i) Cells[i].Valid = true;
    Cells[kGanZhiCell].DayText = text(engine.YearGanZhi);
    Cells[kAnimalCell].DayText = text(engine.Animal) + QStringLiteral("年");
    if (Year >= 1949)
        StatusText = QStringLiteral("%1-%2-%3")
                         .arg(Year, 4, 10, QLatin1Char('0'))
                         .arg(MonthNumber, 2, 10, QLatin1Char('0'))
                         .arg(DayNumber, 2, 10, QLatin1Char('0'));
    else
        StatusText = text(engine.EraName);
    StatusText += QStringLiteral(" 农历") + CnDate;

    for (QString& week : WeekNumbers) week.clear();
    for (int i = 1; i <= kLastDayCell; ++i) {
        TDayCell& cell = Cells[i];
        cell.Valid = false;
        cell.CnMonthText.clear();
        cell.CnDayText.clear();
        cell.CnText.clear();
        cell.DayColor = (i % 7 == 0 || i % 7 == 1) ? bgr(0x0000FF) : colours.Date;
    }

    const int offset = lunar::GregorianWeekday(Year, MonthNumber, 1) + 1;
    const int days = daysInMonth(Year, MonthNumber);
    int lastWeek = -1;
    int row = 1;
    for (int i = offset; i < offset + days; ++i) {
        const int dd = i - offset + 1;
        analyse(engine, lunar::EncodeDate(Year, MonthNumber, dd));
        const int week = IsoWeekNumber(Year, MonthNumber, dd);
        if (week != lastWeek) {
            lastWeek = week;
            WeekNumbers[row++] = QString::number(week);
        }
        fillDayCell(Cells[i], dd, engine, colours);
        if (dd == DayNumber) {
            Cells[kConstellationCell].DayText = text(engine.Constellation);
            SelectedCell = i;
        }
        Cells[i].Valid = true;
    }
}

}  // namespace tavlo::calendar
