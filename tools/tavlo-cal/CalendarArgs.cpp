#include "CalendarArgs.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace tavlo::cal {
namespace {

int parseNumber(std::string_view text, std::string_view whole) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || text.size() > 4 || error != std::errc() || end != text.data() + text.size())
        throw UsageError("日期格式不对：" + std::string(whole));
    return value;
}

// Splits "[-]Y-M[-D]" into its numbers.
std::vector<int> dateParts(std::string_view text) {
    const bool negative = !text.empty() && text.front() == '-';
    std::string_view rest = negative ? text.substr(1) : text;
    std::vector<int> parts;
    while (true) {
        const std::size_t dash = rest.find('-');
        parts.push_back(parseNumber(rest.substr(0, dash), text));
        if (dash == std::string_view::npos) break;
        rest.remove_prefix(dash + 1);
    }
    if (negative) parts.front() = -parts.front();
    return parts;
}

void checkYear(int year) {
    if (year < kFirstYear || year > kLastYear)
        throw UsageError("年份 " + std::to_string(year) + " 不在 -849 至 2100 之内");
}

}  // namespace

bool existsInCalendar(int year, int month, int day) {
    return month >= 1 && month <= 12 && day >= 1 && day <= lunar::CivilDaysInMonth(year, month) &&
           lunar::CalendarKind(year, month, day) != 0;
}

lunar::CivilDate parseDay(std::string_view text) {
    const std::vector<int> parts = dateParts(text);
    if (parts.size() != 3) throw UsageError("日期格式不对（应为 YYYY-MM-DD）：" + std::string(text));
    checkYear(parts[0]);
    if (!existsInCalendar(parts[0], parts[1], parts[2])) throw UsageError("没有这一天：" + std::string(text));
    return {parts[0], parts[1], parts[2]};
}

lunar::CivilDate parseMonth(std::string_view text) {
    const std::vector<int> parts = dateParts(text);
    if (parts.size() != 2) throw UsageError("月份格式不对（应为 YYYY-MM）：" + std::string(text));
    checkYear(parts[0]);
    if (parts[1] < 1 || parts[1] > 12) throw UsageError("没有这个月：" + std::string(text));
    return {parts[0], parts[1], 1};
}

int parseYear(std::string_view text) {
    const bool negative = !text.empty() && text.front() == '-';
    const int year = parseNumber(negative ? text.substr(1) : text, text);
    return negative ? -year : year;
}

lunar::CivilDate today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

std::string formatDate(const lunar::CivilDate& date) {
    char text[32];
    std::snprintf(text, sizeof text, "%s%04d-%02d-%02d", date.Year < 0 ? "-" : "", std::abs(date.Year), date.Month,
                  date.Day);
    return text;
}

}  // namespace tavlo::cal
