#pragma once
// Small text helpers of the era table.
#include <string>
#include <string_view>

namespace tavlo::lunar {

// The n-th (from 1) piece between separators, without leading and trailing
// spaces and control characters; "" when there are fewer than n pieces.
std::string FieldOf(std::string_view text, char separator, int n);
std::string IfThenStr(bool condition, std::string_view whenTrue, std::string_view whenFalse);

}  // namespace tavlo::lunar
