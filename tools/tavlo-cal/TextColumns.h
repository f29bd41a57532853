#pragma once
// Terminal columns of UTF-8 text: ASCII one column, the Chinese texts two.
#include <string>
#include <string_view>

namespace tavlo::cal {

int displayWidth(std::string_view text);
std::string padRight(std::string_view text, int width);
std::string padLeft(std::string_view text, int width);
std::string centred(std::string_view text, int width);

}  // namespace tavlo::cal
