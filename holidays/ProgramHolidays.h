#pragma once
// The holiday table a program uses: the built-in one, with the years of
// Data\Holidays.txt in the program folder added or replaced, so that a newly
// announced year can be entered before a new release.
#include "HolidayTable.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tavlo {
class ProgramFolder;
}

namespace tavlo::holidays {

inline constexpr std::string_view kUserTableName = "Data\\Holidays.txt";

struct LoadedHolidays {
    HolidayTable table;
    // One Chinese sentence for each line left out, or for a file that could
    // not be used at all (then only the built-in table counts).
    std::vector<std::string> messages;
};

// The built-in table and the folder's Data\Holidays.txt, when there is one
// (UTF-8, or GB18030 as Windows editors save it). Never throws for the file.
LoadedHolidays loadHolidays(const ProgramFolder& folder);

// The built-in table alone.
HolidayTable builtInHolidays();

// LoadHolidays of the running executable's folder, done once per process;
// its messages go to the log (standard error) once.
std::shared_ptr<const HolidayTable> programHolidays();

}  // namespace tavlo::holidays
