// The built-in table against an independent package that holds the same
// public facts, day by day from the first arrangement to the last year.
#include "DateTimeValue.h"
#include "HolidayParser.h"
#include "MissingTool.h"
#include "ProgramHolidays.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <sstream>

namespace tavlo::holidays {
namespace {

struct ReferenceDay {
    DayKind kind = DayKind::Ordinary;
    std::string name;
};

std::string dateText(int serial) {
    const lunar::CivilDate date = lunar::DecodeDate(serial);
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.Year, date.Month, date.Day);
    return text;
}

// The package's days off and workdays, keyed by day number; nothing when
// node or the package is not there.
std::optional<std::map<int, ReferenceDay>> referenceDays(const std::string& first, const std::string& last) {
    const std::filesystem::path modules = std::filesystem::path(TAVLO_HOLIDAY_REFERENCE) / "node_modules";
    if (!std::filesystem::exists(modules / "chinese-days")) return std::nullopt;
    const std::string command = "NODE_PATH='" + modules.string() +
                                "' node '" TAVLO_TEST_DATA "/holidays/reference-days.js' " + first + " " + last;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return std::nullopt;
    std::string out;
    std::array<char, 4096> chunk{};
    for (std::size_t n; (n = std::fread(chunk.data(), 1, chunk.size(), pipe)) > 0;) out.append(chunk.data(), n);
    if (pclose(pipe) != 0) return std::nullopt;

    std::map<int, ReferenceDay> days;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) {
        if (line.empty()) continue;
        const std::size_t tab1 = line.find('\t'), tab2 = line.find('\t', tab1 + 1);
        int serial = 0;
        daySerial(std::stoi(line.substr(0, 4)), std::stoi(line.substr(5, 2)), std::stoi(line.substr(8, 2)), serial);
        days[serial] = {line.substr(tab1 + 1, tab2 - tab1 - 1) == "班" ? DayKind::Work : DayKind::Off,
                        line.substr(tab2 + 1)};
    }
    return days;
}

char kindLetter(DayKind kind) {
    return kind == DayKind::Off ? 'O' : kind == DayKind::Work ? 'W' : '-';
}

TEST(HolidayReference, AgreesDayByDayWithAnIndependentPackage) {
    const HolidayTable table = builtInHolidays();
    const int lastYear = table.years().back();
    const auto reference = referenceDays("2007-12-01", std::to_string(lastYear) + "-12-31");
    TAVLO_REQUIRE_TOOL(reference.has_value(),
                       "node with the chinese-days package (tests/holidays/install-reference.sh)");

    // Where the two differ, the notices' own words decide; each case below
    // was checked against the year's notice. All are weekend days, off in
    // both sources: they differ in whether the day belongs to the holiday.
    //  - The package leaves out a day of a "某日至某日放假，共3天" range:
    //    端午 2011 (6月4日至6日) and 2012 (6月22日至24日), the 2015
    //    commemoration (9月3日至5日). The table is right.
    //  - The package adds weekend days that the notice does not give:
    //    清明 2014 ("4月5日放假，4月7日补休": the Sunday between is a plain
    //    Sunday), and 清明, 端午, 中秋 of 2019 ("放假，与周末连休"). The
    //    table is right; the package itself reads the same words of 2016,
    //    2017, 2018 and 2024 as the table does.
    const std::map<std::string, std::string> explained = {
        {"2011-06-05", "O-"}, {"2012-06-23", "O-"}, {"2015-09-05", "O-"}, {"2014-04-06", "-O"}, {"2019-04-06", "-O"},
        {"2019-04-07", "-O"}, {"2019-06-08", "-O"}, {"2019-06-09", "-O"}, {"2019-09-14", "-O"}, {"2019-09-15", "-O"},
    };
    int first = 0, last = 0;
    daySerial(2007, 12, 1, first);
    daySerial(lastYear, 12, 31, last);
    std::map<std::string, std::string> differences;
    for (int day = first; day <= last; ++day) {
        const HolidayRange* ours = table.find(day);
        const auto theirs = reference->find(day);
        const DayKind theirKind = theirs == reference->end() ? DayKind::Ordinary : theirs->second.kind;
        const DayKind ourKind = ours ? ours->kind : DayKind::Ordinary;
        if (ourKind != theirKind) {
            differences[dateText(day)] = {kindLetter(ourKind), kindLetter(theirKind)};
        } else if (ours) {
            // Its names are shorter ("清明", "中秋" for a combined 中秋节、国庆节).
            EXPECT_NE(ours->name.find(theirs->second.name), std::string::npos) << dateText(day);
        }
    }
    EXPECT_EQ(differences, explained);
}

}  // namespace
}  // namespace tavlo::holidays
