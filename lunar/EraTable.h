#pragma once
// Chinese reign periods from the Xia to 1949, and the era text of a civil year.
#include <array>
#include <string>
#include <string_view>

namespace tavlo::lunar {

// 529 rows "first year,length,spare,dynasty,title,personal name,era name".
// A row covers the years from its first year up to the next row's first
// year; the last row only closes the one before it.
extern const std::array<std::string_view, 529> EraTable;

// "[dynasty]title name era" + ("元" for the first year, else the year of the
// era) + "年"; "" from 1949 on and before -2069.
std::string EraText(int year);

}  // namespace tavlo::lunar
