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

bool isControl(unsigned char c) {
    return c < 0x20 || c == 0x7f;
}

// A field as a message quotes it: at most kQuotedBytes of it (not cutting a
// character), control characters written out, so that nothing of the file
// reaches a terminal as a command.
std::string quoted(std::string_view text) {
    constexpr std::size_t kQuotedBytes = 40;
    std::string shown = "“";
    std::size_t i = 0;
    for (; i < text.size() && i < kQuotedBytes; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        // C1 controls are U+0080 … U+009F, "\xC2\x80" … "\xC2\x9F" in UTF-8.
        const bool c1 = c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
                        static_cast<unsigned char>(text[i + 1]) <= 0x9F;
        if (isControl(c) || c1) {
            const unsigned value = c1 ? static_cast<unsigned char>(text[++i]) : c;
            constexpr char kHex[] = "0123456789ABCDEF";
            shown += std::string("\\x") + kHex[value >> 4] + kHex[value & 15];
        } else {
            shown += text[i];
        }
    }
    // Not into the middle of a character: its continuation bytes go too.
    while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) shown += text[i++];
    if (i < text.size()) shown += "…";
    return shown + "”";
}

bool hasControlCharacters(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (isControl(c) ||
            (c == 0xC2 && i + 1 < text.size() && (static_cast<unsigned char>(text[i + 1]) & 0xE0) == 0x80))
            return true;
    }
    return false;
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
    if (hasControlCharacters(fields[1])) return "节日名称" + quoted(fields[1]) + "中有控制字符";
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
void readLines(std::string_view text, std::vector<HolidayRange>& ranges, ParsedHolidays& parsed) {
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
        if (auto cause = parseLine(line, range)) {
            if (parsed.problems.size() < kListedProblems)
                parsed.problems.push_back({number, std::move(*cause)});
            else
                ++parsed.unlistedProblems;
        } else {
            ranges.push_back(std::move(range));
        }
    }
}

// An earlier line wins over a later one that meets its days: the later one is
// what the writer added last.
// Adds a problem while fewer than kListedProblems came from this step (each
// step finds its problems in line order, so those kept are its first), and
// counts it otherwise.
void addProblem(std::vector<LineProblem>& problems, std::size_t& added, int& unlisted, LineProblem problem) {
    if (added++ < kListedProblems)
        problems.push_back(std::move(problem));
    else
        ++unlisted;
}

std::vector<HolidayRange> withoutOverlaps(std::vector<HolidayRange>& read, ParsedHolidays& parsed) {
    std::size_t added = 0;
    KeptRanges kept;
    std::vector<bool> keep(read.size(), true);
    for (std::size_t i = 0; i < read.size(); ++i) {
        if (const HolidayRange* other = kept.overlapping(read[i])) {
            addProblem(parsed.problems, added, parsed.unlistedProblems,
                       {read[i].line, "与第 " + std::to_string(other->line) + " 行的日期重叠"});
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
    readLines(withoutByteOrderMark(text), read, parsed);
    parsed.ranges = withoutOverlaps(read, parsed);
    std::stable_sort(parsed.problems.begin(), parsed.problems.end(),
                     [](const LineProblem& a, const LineProblem& b) { return a.line < b.line; });
    if (parsed.problems.size() > kListedProblems) {
        parsed.unlistedProblems += static_cast<int>(parsed.problems.size() - kListedProblems);
        parsed.problems.resize(kListedProblems);
    }
    return parsed;
}

HolidayTable mergeHolidays(const std::vector<HolidayRange>& builtIn, const ParsedHolidays& user,
                           std::vector<LineProblem>& problems, int* unlisted) {
    std::size_t added = 0;
    int uncounted = 0;
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
            addProblem(problems, added, unlisted ? *unlisted : uncounted,
                       {range.line, "与内置的 " + std::to_string(other->year) + " 年安排的日期重叠"});
            continue;
        }
        merged.push_back(range);
    }
    return HolidayTable(std::move(merged));
}

}  // namespace tavlo::holidays
