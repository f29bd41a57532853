#include "HolidayParser.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>

namespace tavlo::holidays {
namespace {

constexpr int kLongestRange = 31;  // the longest announced break so far is 10 days
constexpr std::string_view kIdeographicSpace = "\xE3\x80\x80";

// Fields between blanks; a full-width space (typed by Chinese input methods)
// separates too.
std::vector<std::string_view> splitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    auto flush = [&](std::size_t end) {
        if (end > start) fields.push_back(line.substr(start, end - start));
    };
    for (std::size_t i = 0; i < line.size();) {
        if (line[i] == ' ' || line[i] == '\t') {
            flush(i);
            start = ++i;
        } else if (line.substr(i, kIdeographicSpace.size()) == kIdeographicSpace) {
            flush(i);
            start = i += kIdeographicSpace.size();
        } else {
            ++i;
        }
    }
    flush(line.size());
    return fields;
}

std::optional<int> digits(std::string_view text) {
    if (text.empty()) return std::nullopt;
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::optional<int> parseYear(std::string_view text) {
    if (text.size() != 4) return std::nullopt;
    return digits(text);
}

// "YYYY-MM-DD" as a day number.
std::optional<int> parseDate(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
    const auto year = digits(text.substr(0, 4)), month = digits(text.substr(5, 2)), day = digits(text.substr(8, 2));
    int serial = 0;
    if (!year || !month || !day || !daySerial(*year, *month, *day, serial)) return std::nullopt;
    return serial;
}

std::string quoted(std::string_view text) {
    return "“" + std::string(text) + "”";
}

// One line into `range`; the cause when it cannot be used.
std::optional<std::string> parseLine(std::string_view line, HolidayRange& range) {
    const std::vector<std::string_view> fields = splitFields(line);
    if (fields.size() < 4 || fields.size() > 5)
        return "应有年份、节日、类别、起始日期和可省的结束日期，共四或五项，这一行有 " + std::to_string(fields.size()) +
               " 项";
    const auto year = parseYear(fields[0]);
    if (!year) return "年份" + quoted(fields[0]) + "不是四位数字";
    range.year = *year;
    range.name = std::string(fields[1]);
    if (fields[2] == "休")
        range.kind = DayKind::Off;
    else if (fields[2] == "班")
        range.kind = DayKind::Work;
    else
        return "类别" + quoted(fields[2]) + "应为“休”或“班”";
    for (std::size_t i = 3; i < fields.size(); ++i) {
        const auto day = parseDate(fields[i]);
        if (!day) return "日期" + quoted(fields[i]) + "不是 YYYY-MM-DD 形式的日期";
        (i == 3 ? range.first : range.last) = *day;
    }
    if (fields.size() == 4) range.last = range.first;
    if (range.last < range.first) return "结束日期早于起始日期";
    if (range.last - range.first >= kLongestRange) return "一段日期长于 " + std::to_string(kLongestRange) + " 天";
    int earliest = 0, latest = 0;
    daySerial(range.year - 1, 1, 1, earliest);
    daySerial(range.year + 1, 12, 31, latest);
    if (range.first < earliest || range.last > latest)
        return "日期不在 " + std::to_string(range.year) + " 年及其前后一年之内";
    return std::nullopt;
}

// The ranges kept so far, by first day; none overlap, so the one starting
// last on or before a range's end is the only one that can meet it.
class KeptRanges {
public:
    const HolidayRange* overlapping(const HolidayRange& range) const {
        auto after = byFirst_.upper_bound(range.last);
        if (after == byFirst_.begin()) return nullptr;
        const HolidayRange* candidate = std::prev(after)->second;
        return candidate->last >= range.first ? candidate : nullptr;
    }
    void add(const HolidayRange& range) { byFirst_.emplace(range.first, &range); }

private:
    std::map<int, const HolidayRange*> byFirst_;
};

std::string_view withoutByteOrderMark(std::string_view text) {
    constexpr std::string_view kMark = "\xEF\xBB\xBF";
    return text.substr(0, kMark.size()) == kMark ? text.substr(kMark.size()) : text;
}

// Every line that is not blank or a comment: its range, or why it cannot be one.
void readLines(std::string_view text, std::vector<HolidayRange>& ranges, std::vector<LineProblem>& problems) {
    int number = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        ++number;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const std::size_t start = line.find_first_not_of(" \t");
        if (start == std::string_view::npos || line[start] == '#') continue;
        HolidayRange range;
        range.line = number;
        if (auto cause = parseLine(line, range))
            problems.push_back({number, std::move(*cause)});
        else
            ranges.push_back(std::move(range));
    }
}

// An earlier line wins over a later one that meets its days: the later one is
// what the writer added last.
std::vector<HolidayRange> withoutOverlaps(std::vector<HolidayRange>& read, std::vector<LineProblem>& problems) {
    KeptRanges kept;
    std::vector<bool> keep(read.size(), true);
    for (std::size_t i = 0; i < read.size(); ++i) {
        if (const HolidayRange* other = kept.overlapping(read[i])) {
            problems.push_back({read[i].line, "与第 " + std::to_string(other->line) + " 行的日期重叠"});
            keep[i] = false;
        } else {
            kept.add(read[i]);
        }
    }
    std::vector<HolidayRange> ranges;
    for (std::size_t i = 0; i < read.size(); ++i)
        if (keep[i]) ranges.push_back(std::move(read[i]));
    return ranges;
}

}  // namespace

ParsedHolidays parseHolidays(std::string_view text) {
    ParsedHolidays parsed;
    std::vector<HolidayRange> read;
    readLines(withoutByteOrderMark(text), read, parsed.problems);
    parsed.ranges = withoutOverlaps(read, parsed.problems);
    std::stable_sort(parsed.problems.begin(), parsed.problems.end(),
                     [](const LineProblem& a, const LineProblem& b) { return a.line < b.line; });
    return parsed;
}

HolidayTable mergeHolidays(const std::vector<HolidayRange>& builtIn, const ParsedHolidays& user,
                           std::vector<LineProblem>& problems) {
    std::set<int> userYears;
    for (const HolidayRange& range : user.ranges) userYears.insert(range.year);
    std::vector<HolidayRange> merged;
    merged.reserve(builtIn.size() + user.ranges.size());  // `kept` points into it
    for (const HolidayRange& range : builtIn)
        if (!userYears.contains(range.year)) merged.push_back(range);
    KeptRanges kept;
    for (const HolidayRange& range : merged) kept.add(range);
    for (const HolidayRange& range : user.ranges) {
        if (const HolidayRange* other = kept.overlapping(range)) {
            problems.push_back({range.line, "与内置的 " + std::to_string(other->year) + " 年安排的日期重叠"});
            continue;
        }
        merged.push_back(range);
    }
    return HolidayTable(std::move(merged));
}

}  // namespace tavlo::holidays
