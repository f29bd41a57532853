#include "DateLine.h"

#include <array>
#include <ctime>

namespace tavlo::app {

std::string composeDateLine(std::chrono::year_month_day date) {
    static constexpr std::array<const char*, 8> weekdayChars = {"", "一", "二", "三", "四", "五", "六", "日"};
    const unsigned isoWeekday = std::chrono::weekday(std::chrono::sys_days(date)).iso_encoding();
    return "今天是 " + std::to_string(static_cast<int>(date.year())) + "年" +
           std::to_string(static_cast<unsigned>(date.month())) + "月" +
           std::to_string(static_cast<unsigned>(date.day())) + "日(" + weekdayChars[isoWeekday] + ")";
}

std::chrono::year_month_day localDay(std::time_t now) {
    std::tm local{};
    localtime_r(&now, &local);
    return std::chrono::year_month_day{std::chrono::year(local.tm_year + 1900),
                                       std::chrono::month(static_cast<unsigned>(local.tm_mon + 1)),
                                       std::chrono::day(static_cast<unsigned>(local.tm_mday))};
}

}  // namespace tavlo::app
