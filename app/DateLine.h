#pragma once
#include <chrono>
#include <ctime>
#include <string>

namespace tavlo::app {

// "今天是 2010年6月1日(二)": year, month and day without leading zeros and the
// weekday character, Monday 一 to Sunday 日.
std::string composeDateLine(std::chrono::year_month_day date);

// The local date at `now`.
std::chrono::year_month_day localDay(std::time_t now);

}  // namespace tavlo::app
