#pragma once
#include <memory>
#include <string>
#include <vector>

namespace tavlo::holidays {
class HolidayTable;
}

namespace tavlo::cal {

// render [YYYY-MM-DD] OUT.png [--size WxH] [--week-numbers] [--no-title]:
// the calendar control drawn off screen with that day selected (today by
// default) and the table's rest days marked, written as PNG. Bad arguments
// throw UsageError; returns the exit status.
int runRender(const std::vector<std::string>& args, std::shared_ptr<const holidays::HolidayTable> table);

}  // namespace tavlo::cal
