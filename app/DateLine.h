#pragma once
#include <chrono>
#include <string>

namespace tavlo::app {

// "今天是 2010年6月1日(二)": year, month and day without leading zeros and the
// weekday character, Monday 一 to Sunday 日.
std::string composeDateLine(std::chrono::year_month_day date);

// Today's date on the local clock.
std::chrono::year_month_day localToday();

}  // namespace tavlo::app
