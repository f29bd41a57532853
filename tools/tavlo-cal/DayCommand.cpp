// tavlo-cal day [YYYY-MM-DD]: every field of the day analysis, one per line.
#include "CalendarArgs.h"
#include "ChnCal.h"
#include "Commands.h"

#include <cstdio>

namespace tavlo::cal {

void runDay(const std::vector<std::string>& args, std::FILE* out) {
    if (args.size() > 1) throw UsageError("usage: tavlo-cal day [YYYY-MM-DD]");
    const lunar::CivilDate date = args.empty() ? today() : parseDay(args[0]);
    if (args.empty() && (date.Year < kFirstYear || date.Year > kLastYear))
        throw UsageError("today lies outside -849..2100");

    lunar::TChnCal cal;
    cal.AnalyseCivilDate(date.Year, date.Month, date.Day);
    std::fprintf(out, "Date: %s\n", formatDate(date).c_str());
    std::fprintf(out, "LunarYear: %d\n", cal.LunarYear);
    std::fprintf(out, "LunarMonth: %d\n", cal.LunarMonth);
    std::fprintf(out, "AnalysedDate: %.0f\n", cal.AnalysedDate);
    const std::pair<const char*, const std::string*> texts[] = {
        {"SolarTerm", &cal.SolarTerm},           {"Holiday", &cal.Holiday},
        {"LunarMonthName", &cal.LunarMonthName}, {"DayGanZhi", &cal.DayGanZhi},
        {"YearGanZhi", &cal.YearGanZhi},         {"MonthGanZhi", &cal.MonthGanZhi},
        {"LunarHoliday", &cal.LunarHoliday},     {"LunarYearNumber", &cal.LunarYearNumber},
        {"LunarDayName", &cal.LunarDayName},     {"Animal", &cal.Animal},
        {"Constellation", &cal.Constellation},   {"EraName", &cal.EraName},
    };
    for (const auto& [name, text] : texts) std::fprintf(out, "%s: %s\n", name, text->c_str());
}

}  // namespace tavlo::cal
