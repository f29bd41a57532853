// tavlo-cal holidays [YYYY]: the year's official arrangement, one holiday a
// line, as the notices put it.
#include "CalendarArgs.h"
#include "Commands.h"
#include "HolidayTexts.h"
#include "Output.h"

namespace tavlo::cal {

void runHolidays(const std::vector<std::string>& args, const holidays::HolidayTable& table, std::FILE* out) {
    if (args.size() > 1) throw UsageError("用法：tavlo-cal holidays [YYYY]");
    const int year = args.empty() ? today().Year : parseYear(args[0]);
    const std::vector<std::string> lines = holidays::yearArrangementLines(table, year);
    // Saying nothing would read as "no holidays that year".
    if (lines.empty()) throw UsageError(holidays::missingYearText(table, year));
    std::string text = std::to_string(year) + "年放假安排\n";
    for (const std::string& line : lines) text += line + "\n";
    writeOut(out, text);
}

}  // namespace tavlo::cal
