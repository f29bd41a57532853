#include "ChnCal.h"

#include "Cycles.h"
#include "EraTable.h"
#include "Festivals.h"
#include "LunarDate.h"
#include "LunarTexts.h"
#include "SolarTerms.h"

namespace tavlo::lunar {

namespace {

// Code that ran before (a GUI toolkit, say) can leave the upper halves of the
// AVX registers dirty. The engine's SSE arithmetic and the math library then
// pay a state-transition penalty on nearly every instruction: a month of
// analyses measured fifteen times slower. Clearing the state costs nothing.
[[gnu::noinline]] void clearUpperVectorState() {
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
    static const bool avx = __builtin_cpu_supports("avx");
    if (avx) __asm__ volatile("vzeroupper" ::: "memory");
#endif
}

}  // namespace

void TChnCal::AnalyseDate(TDateTime date) {
    clearUpperVectorState();
    Analyse(DecodeDate(date), date);
}

void TChnCal::AnalyseCivilDate(int year, int month, int day) {
    clearUpperVectorState();
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
