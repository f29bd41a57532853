#pragma once
#include "CommandLine.h"

#include <memory>

namespace tavlo::holidays {
class HolidayTable;
}

namespace tavlo::cal {

// render [YYYY-MM-DD] OUT.png [--size WxH] [--week-numbers] [--no-title]:
// the calendar control drawn off screen with that day selected (today by
// default) and the table's rest days marked, written as PNG.
tool::Command renderCommand();

// Bad arguments throw UsageError, a picture that cannot be written
// FileError; returns the exit status.
int runRender(const tool::Invocation& call, std::shared_ptr<const holidays::HolidayTable> table);

}  // namespace tavlo::cal
