#include "LunarTexts.h"

namespace tavlo::lunar {

const std::array<std::string_view, 12> LunarMonthNames = {"正", "二", "三", "四", "五", "六",
                                                          "七", "八", "九", "十", "冬", "腊"};

namespace {
constexpr std::string_view kDigits[10] = {"", "一", "二", "三", "四", "五", "六", "七", "八", "九"};
constexpr std::string_view kTensPrefix[3] = {"初", "十", "廿"};
}  // namespace

std::string LunarDayText(int lunarDay) {
    if (lunarDay < 1 || lunarDay > 30) return "";
    if (lunarDay == 10) return "初十";
    if (lunarDay == 20) return "二十";
    if (lunarDay == 30) return "三十";
    return std::string(kTensPrefix[lunarDay / 10]) + std::string(kDigits[lunarDay % 10]);
}

std::string LunarMonthText(int lunarMonth, bool leap) {
    if (lunarMonth < 1 || lunarMonth > 12) return "";
    const std::string name(LunarMonthNames[static_cast<std::size_t>(lunarMonth - 1)]);
    return leap ? "闰" + name : name + "月";
}

}  // namespace tavlo::lunar
