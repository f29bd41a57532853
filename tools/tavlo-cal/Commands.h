#pragma once
#include <cstdio>
#include <string>
#include <vector>

namespace tavlo::holidays {
class HolidayTable;
}

namespace tavlo::cal {

// Each command reads its arguments (after the command word) and writes to
// `out`; bad arguments throw UsageError, a failed write OutputError.
void runMonth(const std::vector<std::string>& args, const holidays::HolidayTable& table, std::FILE* out);
void runDay(const std::vector<std::string>& args, const holidays::HolidayTable& table, std::FILE* out);
void runHolidays(const std::vector<std::string>& args, const holidays::HolidayTable& table, std::FILE* out);
void runDump(const std::vector<std::string>& args, std::FILE* out);

}  // namespace tavlo::cal
