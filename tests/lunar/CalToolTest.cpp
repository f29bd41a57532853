// Runs the built tavlo-cal and checks what it prints.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <array>
#include <cstdio>
#include <string>
#include <vector>

#ifdef TAVLO_CAL_PROGRAM
namespace {

struct ToolRun {
    int status = -1;
    std::string out;
};

ToolRun runTool(const std::string& arguments) {
    ToolRun run;
    const std::string command = std::string(TAVLO_CAL_PROGRAM) + " " + arguments + " 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    std::array<char, 4096> chunk{};
    std::size_t n = 0;
    while ((n = std::fread(chunk.data(), 1, chunk.size(), pipe)) > 0) run.out.append(chunk.data(), n);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find(separator, start)) != std::string::npos; start = end + 1)
        parts.push_back(text.substr(start, end - start));
    parts.push_back(text.substr(start));
    return parts;
}

}  // namespace

TEST(TavloCal, DumpLinesHaveSeventeenFields) {
    const ToolRun run = runTool("dump 2024-02-09 2024-02-10");
    ASSERT_EQ(run.status, 0);
    const std::vector<std::string> lines = split(run.out, '\n');
    ASSERT_EQ(lines.size(), 3u);  // two lines and the empty rest after the last newline
    EXPECT_EQ(lines[0], "2024-02-09\t738925\t1\t2023\t12\t30\t0\t腊月\t三十\t癸卯\t丙寅\t甲辰\t兔\t宝瓶\t\t\t除夕");
    EXPECT_EQ(lines[1], "2024-02-10\t738926\t1\t2024\t1\t1\t0\t正月\t初一\t甲辰\t丙寅\t甲辰\t龙\t宝瓶\t\t\t春节");
}

TEST(TavloCal, DumpWritesNegativeYearsAndSkipsTheDroppedDays) {
    ToolRun run = runTool("dump -0849-01-21 -0849-01-21");
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(split(run.out, '\t').front(), "-0849-01-21");
    EXPECT_EQ(split(run.out, '\t').at(1), "-310443");

    run = runTool("dump 1582-10-03 1582-10-16");
    ASSERT_EQ(run.status, 0);
    const std::vector<std::string> lines = split(run.out, '\n');
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[1].substr(0, 10), "1582-10-04");
    EXPECT_EQ(lines[2].substr(0, 10), "1582-10-15");

    run = runTool("dump -0001-12-31 0000-01-01");
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(split(run.out, '\n').size(), 3u);
    EXPECT_EQ(split(run.out, '\n')[1].substr(0, 10), "0000-01-01");

    // A Julian leap day that the date type cannot hold still has its line.
    run = runTool("dump 0100-02-28 0100-03-01");
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(split(run.out, '\n').size(), 4u);
    EXPECT_EQ(split(split(run.out, '\n')[1], '\t').size(), 17u);
}

TEST(TavloCal, RejectsDatesOutsideTheRangeAndMalformedArguments) {
    for (const char* arguments : {"dump -0850-12-31 -0849-01-01", "dump 2100-12-31 2101-01-01", "day 2101-01-01",
                                  "day 2024-02-30", "day 1582-10-10", "day 2024-2", "month 2024-13", "month x",
                                  "dump 2024-01-02 2024-01-01", "dump 2024-01-01", "frobnicate", ""}) {
        const ToolRun run = runTool(arguments);
        EXPECT_EQ(run.status, 1) << arguments;
        EXPECT_EQ(run.out, "") << arguments;
    }
}

TEST(TavloCal, DayPrintsEveryFieldOfTheAnalysis) {
    const ToolRun run = runTool("day 1900-12-31");
    ASSERT_EQ(run.status, 0);
    for (const char* line : {"LunarYear: 1900\n", "LunarMonth: 11\n", "AnalysedDate: 366\n", "YearGanZhi: 庚子\n",
                             "EraName: [清]德宗 载湉 光绪26年\n", "LunarYearNumber: 1900\n", "Animal: 鼠\n"})
        EXPECT_NE(run.out.find(line), std::string::npos) << line;
    EXPECT_EQ(split(run.out, '\n').size(), 18u);  // the date, 15 fields, the arrangement, the empty rest
}

TEST(TavloCal, MonthShowsTheTextTheCalendarChooses) {
    const ToolRun run = runTool("month 2024-02");
    ASSERT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("2024年2月"), std::string::npos);
    EXPECT_NE(run.out.find("甲辰年 龙年"), std::string::npos);
    for (const char* text : {"立春", "除夕", "春节", "情人节", "元宵节", "雨水", "廿二"})
        EXPECT_NE(run.out.find(text), std::string::npos) << text;
    // 2024-02-10 is 初一 of the first month, but its festival wins.
    EXPECT_EQ(run.out.find("正月"), std::string::npos);
}
#endif
