#pragma once
// The text form of a holiday table, one range a line:
//   YEAR  NAME  休|班  FIRST  [LAST]
// with dates as YYYY-MM-DD; "#" begins a comment line. The built-in table
// (Holidays.txt beside this file) and a user's table share it.
#include "HolidayTable.h"

#include <string>
#include <string_view>
#include <vector>

namespace tavlo::holidays {

// A line that was left out, and why (in the user's words).
struct LineProblem {
    int line = 0;
    std::string cause;
};

// How many problems are listed one by one; the rest are only counted, so
// that a file of nothing but bad lines costs little and says it once.
inline constexpr std::size_t kListedProblems = 20;

struct ParsedHolidays {
    std::vector<HolidayRange> ranges;   // in line order, none overlapping
    std::vector<LineProblem> problems;  // the first kListedProblems of those found on reading
    int unlistedProblems = 0;           // damaged lines beyond them
};

// Reads UTF-8 text (a byte-order mark and CR LF line ends are accepted). A
// damaged line, or one whose days an earlier line already holds, is left out
// and reported; the rest is used. A cause quotes the line's text shortened,
// its control characters written out ("\x1B"), never raw; a holiday name
// with control characters is a damaged line.
ParsedHolidays parseHolidays(std::string_view text);

// The table compiled into the program.
std::string_view builtInHolidayText();

// The built-in ranges with every year that `user` names replaced by the user's
// lines of that year. A user line whose days a kept built-in year holds is
// left out and reported in `problems` (the first kListedProblems of them;
// the rest are added to `unlisted` when given).
HolidayTable mergeHolidays(const std::vector<HolidayRange>& builtIn, const ParsedHolidays& user,
                           std::vector<LineProblem>& problems, int* unlisted = nullptr);

}  // namespace tavlo::holidays
