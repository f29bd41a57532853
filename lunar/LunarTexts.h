#pragma once
// Chinese names of lunar months and days.
#include <array>
#include <string>
#include <string_view>

namespace tavlo::lunar {

// Months 1..12 at indexes 0..11: 正 二 三 四 五 六 七 八 九 十 冬 腊.
extern const std::array<std::string_view, 12> LunarMonthNames;

// 初一 .. 初十, 十一 .. 十九, 二十, 廿一 .. 廿九, 三十; "" outside 1..30.
std::string LunarDayText(int lunarDay);
// "正月" .. "腊月"; a leap month "闰" + name without "月" ("闰四"); "" outside 1..12.
std::string LunarMonthText(int lunarMonth, bool leap);

}  // namespace tavlo::lunar
