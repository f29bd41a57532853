// A user's holiday table (Data/Holidays.txt): any bytes are read without a
// crash, every kept range can be looked up and listed.
#include "HolidayParser.h"
#include "HolidayTexts.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tavlo::holidays;
    static const std::vector<HolidayRange> builtIn = parseHolidays(builtInHolidayText()).ranges;
    const ParsedHolidays user = parseHolidays(std::string_view(reinterpret_cast<const char*>(data), size));
    std::vector<LineProblem> problems = user.problems;
    const HolidayTable table = mergeHolidays(builtIn, user, problems);
    // Ranges never overlap, so each end of each range finds that range.
    for (const HolidayRange& range : table.ranges())
        if (table.find(range.first) != &range || table.find(range.last) != &range) __builtin_trap();
    for (const HolidayRange& range : user.ranges) yearArrangementLines(table, range.year);
    return 0;
}
