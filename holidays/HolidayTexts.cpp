#include "HolidayTexts.h"

#include "DateTimeValue.h"

#include <algorithm>

namespace tavlo::holidays {
namespace {

std::string dayText(int serial, bool withYear) {
    static constexpr const char* kWeekdays[] = {"日", "一", "二", "三", "四", "五", "六"};
    const lunar::CivilDate date = lunar::DecodeDate(serial);
    std::string text = withYear ? std::to_string(date.Year) + "年" : "";
    text += std::to_string(date.Month) + "月" + std::to_string(date.Day) + "日（周" +
            kWeekdays[lunar::WeekdayOf(serial)] + "）";
    return text;
}

// A range that reaches into another year names the years of both ends.
std::string rangeText(int first, int last, int arrangementYear) {
    const bool withYears =
        lunar::DecodeDate(first).Year != arrangementYear || lunar::DecodeDate(last).Year != arrangementYear;
    std::string text = dayText(first, withYears);
    if (last != first) text += "至" + dayText(last, withYears);
    return text;
}

std::string joined(const std::vector<std::string>& parts, std::string_view separator) {
    std::string text;
    for (const std::string& part : parts) text += (text.empty() ? "" : std::string(separator)) + part;
    return text;
}

// One holiday's ranges as a sentence: the days off, then the make-up workdays.
std::string holidayLine(const std::string& name, const std::vector<const HolidayRange*>& ranges) {
    std::vector<std::string> off, work;
    int offDays = 0;
    for (const HolidayRange* range : ranges) {
        if (range->kind == DayKind::Off) {
            off.push_back(rangeText(range->first, range->last, range->year));
            offDays += range->last - range->first + 1;
        } else {
            // Workdays are named one by one, as the notices do.
            for (int day = range->first; day <= range->last; ++day) work.push_back(rangeText(day, day, range->year));
        }
    }
    std::string line = name + "：";
    if (!off.empty()) line += joined(off, "、") + "放假，共" + std::to_string(offDays) + "天";
    if (!work.empty()) line += (off.empty() ? "" : "；") + joined(work, "、") + "上班";
    return line + "。";
}

}  // namespace

std::string_view kindMark(DayKind kind) {
    switch (kind) {
    case DayKind::Off: return "休";
    case DayKind::Work: return "班";
    default: return "";
    }
}

std::string knownYearsText(const HolidayTable& table) {
    const std::vector<int>& years = table.years();
    std::vector<std::string> runs;
    for (std::size_t i = 0; i < years.size();) {
        std::size_t j = i;
        while (j + 1 < years.size() && years[j + 1] == years[j] + 1) ++j;
        runs.push_back(std::to_string(years[i]) + (j > i ? "—" + std::to_string(years[j]) : "") + "年");
        i = j + 1;
    }
    return joined(runs, "、");
}

std::string missingYearText(const HolidayTable& table, int year) {
    std::string text = "未收录" + std::to_string(year) + "年的放假安排";
    if (!table.years().empty()) text += "（已收录" + knownYearsText(table) + "）";
    return text;
}

std::string dayArrangementText(const HolidayTable& table, int year, int month, int day) {
    if (const HolidayRange* range = table.find(year, month, day))
        return range->kind == DayKind::Off ? range->name + "假期（休）" : "调休上班（班）";
    return table.hasYear(year) ? "" : missingYearText(table, year);
}

std::vector<std::string> yearArrangementLines(const HolidayTable& table, int year) {
    // Holidays in the order of their first day, each with all its ranges.
    std::vector<std::string> names;
    std::vector<std::vector<const HolidayRange*>> groups;
    for (const HolidayRange* range : table.rangesOfYear(year)) {
        auto found = std::find(names.begin(), names.end(), range->name);
        if (found == names.end()) {
            names.push_back(range->name);
            groups.emplace_back();
            found = std::prev(names.end());
        }
        groups[static_cast<std::size_t>(found - names.begin())].push_back(range);
    }
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < names.size(); ++i) lines.push_back(holidayLine(names[i], groups[i]));
    return lines;
}

}  // namespace tavlo::holidays
