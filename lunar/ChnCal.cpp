#include "ChnCal.h"

#include "Cycles.h"
#include "EraTable.h"
#include "Festivals.h"
#include "LunarDate.h"
#include "LunarTexts.h"
#include "SolarTerms.h"

namespace tavlo::lunar {

void TChnCal::AnalyseDate(TDateTime date) {
    Analyse(DecodeDate(date), date);
}

void TChnCal::AnalyseCivilDate(int year, int month, int day) {
    TDateTime date = 0;
    if (TryEncodeDate(year, month, day, date)) {
        Analyse(CivilDate{year, month, day}, date);
        return;
    }
    if (month == 2 && day == 29 && CivilDaysInMonth(year, 2) == 29)
        Analyse(CivilDate{year, month, day}, EncodeDate(year, 2, 28));
}

void TChnCal::Analyse(const CivilDate& labels, TDateTime date) {
    AnalysedDate = date;
    const int y = labels.Year;
    const int m = labels.Month;
    const int d = labels.Day;
    LunarDate lunar;
    if (!SolarToLunar(y, m, d, lunar)) return;

    LunarYear = lunar.Year;
    LunarMonth = lunar.Month;

    LunarYearNumber = std::to_string(lunar.Year);
    YearGanZhi = GanZhiName(YearGanZhiOfDate(y, m, d));
    Animal = AnimalName(AnimalIndex(lunar.Year));
    EraName = EraText(y);

    LunarMonthName = LunarMonthText(lunar.Month, lunar.Leap);
    MonthGanZhi = GanZhiName(MonthGanZhiOfDate(y, m, d));

    LunarDayName = LunarDayText(lunar.Day);
    DayGanZhi = GanZhiName(DayGanZhiOfDate(y, m, d));
    Constellation = ConstellationName(ConstellationIndex(m, d));

    Holiday = HolidayOf(d, date);
    LunarHoliday = LunarHolidayOf(lunar.Month, lunar.Day, date);
    SolarTerm = SolarTermOfCivilDate(y, m, d);
}

}  // namespace tavlo::lunar
