// tavlo-cal day [YYYY-MM-DD]: every field of the day analysis, one per line,
// and the official arrangement of the day.
#include "CalendarArgs.h"
#include "ChnCal.h"
#include "Commands.h"
#include "HolidayTexts.h"
#include "StandardOutput.h"

#include <cstdio>

namespace tavlo::cal {

void runDay(const std::vector<std::string>& args, const holidays::HolidayTable& table) {
    const lunar::CivilDate date = args.empty() ? today() : parseDay(args[0]);
    if (args.empty() && (date.Year < kFirstYear || date.Year > kLastYear))
        throw tool::Failure("今天不在 -849 至 2100 年之内");

    lunar::TChnCal cal;
    cal.AnalyseCivilDate(date.Year, date.Month, date.Day);
    std::string text = "Date: " + formatDate(date) + "\n";
    text += "LunarYear: " + std::to_string(cal.LunarYear) + "\n";
    text += "LunarMonth: " + std::to_string(cal.LunarMonth) + "\n";
    char analysed[32];
    std::snprintf(analysed, sizeof analysed, "%.0f", cal.AnalysedDate);
    text += "AnalysedDate: " + std::string(analysed) + "\n";
    const std::pair<const char*, const std::string*> texts[] = {
        {"SolarTerm", &cal.SolarTerm},           {"Holiday", &cal.Holiday},
        {"LunarMonthName", &cal.LunarMonthName}, {"DayGanZhi", &cal.DayGanZhi},
        {"YearGanZhi", &cal.YearGanZhi},         {"MonthGanZhi", &cal.MonthGanZhi},
        {"LunarHoliday", &cal.LunarHoliday},     {"LunarYearNumber", &cal.LunarYearNumber},
        {"LunarDayName", &cal.LunarDayName},     {"Animal", &cal.Animal},
        {"Constellation", &cal.Constellation},   {"EraName", &cal.EraName},
    };
    for (const auto& [name, value] : texts) text += std::string(name) + ": " + *value + "\n";
    text += "Arrangement: " + holidays::dayArrangementText(table, date.Year, date.Month, date.Day) + "\n";
    tool::writeOut(text);
}

}  // namespace tavlo::cal
