// Data/Holidays.txt in a program folder: added years, damaged lines
// reported once with their numbers, and files that cannot be used.
#include "Gb18030.h"
#include "HolidayParser.h"
#include "ProgramFolder.h"
#include "ProgramHolidays.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tavlo::holidays {
namespace {

using test::TempFolder;
using test::writeFileBytes;

// The name of the holiday that holds the day, or "" (not a crash) when none does.
std::string nameOf(const HolidayTable& table, int year, int month, int day) {
    const HolidayRange* range = table.find(year, month, day);
    return range ? range->name : "";
}

std::filesystem::path userTable(const TempFolder& folder) {
    std::filesystem::create_directories(folder / "Data");
    return folder / "Data" / "Holidays.txt";
}

TEST(ProgramHolidays, WithoutAUserTableTheBuiltInOneServesSilently) {
    TempFolder folder;
    const LoadedHolidays loaded = loadHolidays(ProgramFolder(folder.path()));
    EXPECT_TRUE(loaded.messages.empty());
    EXPECT_EQ(nameOf(loaded.table, 2024, 2, 10), "春节");
}

TEST(ProgramHolidays, AUserTableAddsAYearAndReportsEachDamagedLine) {
    TempFolder folder;
    writeFileBytes(userTable(folder),
                   "# 2027年\n"
                   "2027 元旦 休 2027-01-01\n"
                   "2027 春节 休 2027-02-30\n"
                   "2027 春节 班\n"
                   "2027 春节 休 2027-02-06 2027-02-13\n");
    const LoadedHolidays loaded = loadHolidays(ProgramFolder(folder.path()));
    ASSERT_EQ(loaded.messages.size(), 2u);
    const std::string file = (folder / "Data" / "Holidays.txt").string();
    EXPECT_EQ(loaded.messages[0],
              "节假日表“" + file + "”第 3 行：日期“2027-02-30”不是 YYYY-MM-DD 形式的日期，此行未用");
    EXPECT_NE(loaded.messages[1].find("第 4 行：应有年份"), std::string::npos) << loaded.messages[1];
    EXPECT_EQ(nameOf(loaded.table, 2027, 2, 13), "春节");
    EXPECT_EQ(nameOf(loaded.table, 2027, 1, 1), "元旦");
    EXPECT_EQ(nameOf(loaded.table, 2024, 2, 10), "春节");
}

TEST(ProgramHolidays, ManyDamagedLinesAreReportedOnceBeyondTheFirstFew) {
    TempFolder folder;
    std::string text;
    for (int i = 0; i < 100000; ++i) text += "x\n";
    writeFileBytes(userTable(folder), text);
    const LoadedHolidays loaded = loadHolidays(ProgramFolder(folder.path()));
    ASSERT_EQ(loaded.messages.size(), kListedProblems + 1);
    EXPECT_NE(loaded.messages.back().find("另有 " + std::to_string(100000 - kListedProblems) + " 行有误"),
              std::string::npos)
        << loaded.messages.back();
}

TEST(ProgramHolidays, ATableSavedInTheWindowsCodePageIsRead) {
    TempFolder folder;
    writeFileBytes(userTable(folder), utf8ToGb18030("2027 国庆节 休 2027-10-01 2027-10-07\r\n"));
    const LoadedHolidays loaded = loadHolidays(ProgramFolder(folder.path()));
    EXPECT_TRUE(loaded.messages.empty());
    EXPECT_EQ(nameOf(loaded.table, 2027, 10, 3), "国庆节");
}

TEST(ProgramHolidays, AFileThatCannotBeUsedLeavesTheBuiltInTable) {
    struct Case {
        const char* what;
        void (*make)(const std::filesystem::path&);
        const char* cause;
    } cases[] = {
        {"a folder", [](const std::filesystem::path& path) { std::filesystem::create_directory(path); },
         "是文件夹，不是文件"},
        {"a huge file", [](const std::filesystem::path& path) { writeFileBytes(path, std::string(2 << 20, '#')); },
         "文件大于 1 MB"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder folder;
        c.make(userTable(folder));
        const LoadedHolidays loaded = loadHolidays(ProgramFolder(folder.path()));
        ASSERT_EQ(loaded.messages.size(), 1u);
        EXPECT_NE(loaded.messages[0].find(c.cause), std::string::npos) << loaded.messages[0];
        EXPECT_NE(loaded.messages[0].find("只用内置的节假日安排"), std::string::npos);
        EXPECT_EQ(nameOf(loaded.table, 2024, 2, 10), "春节");
    }
}

}  // namespace
}  // namespace tavlo::holidays
