#pragma once
#include <string>
#include <vector>

namespace tavlo::cal {

// render [YYYY-MM-DD] OUT.png [--size WxH] [--week-numbers] [--no-title]:
// the calendar control drawn off screen with that day selected (today by
// default), written as PNG. Bad arguments throw UsageError; returns the
// exit status.
int runRender(const std::vector<std::string>& args);

}  // namespace tavlo::cal
