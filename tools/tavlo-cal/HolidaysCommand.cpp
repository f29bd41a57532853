// tavlo-cal holidays [YYYY]: the year's official arrangement, one holiday a
// line, as the notices put it.
#include "CalendarArgs.h"
#include "Commands.h"
#include "HolidayTexts.h"
#include "StandardOutput.h"

namespace tavlo::cal {

void runHolidays(const std::vector<std::string>& args, const holidays::HolidayTable& table) {
    const int year = args.empty() ? today().Year : parseYear(args[0]);
    const std::vector<std::string> lines = holidays::yearArrangementLines(table, year);
    // Saying nothing would read as "no holidays that year".
    if (lines.empty()) throw tool::Failure(holidays::missingYearText(table, year));
    std::string text = std::to_string(year) + "年放假安排\n";
    for (const std::string& line : lines) text += line + "\n";
    tool::writeOut(text);
}

}  // namespace tavlo::cal
