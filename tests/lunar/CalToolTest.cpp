// Runs the built tavlo-cal and checks what it prints.
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <array>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#ifdef TAVLO_CAL_PROGRAM
namespace {

struct ToolRun {
    int status = -1;
    std::string out;
    std::string errors;
};

// Runs "tavlo-cal ARGUMENTS" through the shell, so that `redirect` may send
// its standard output elsewhere (then `out` stays empty).
ToolRun runTool(const std::string& arguments, const std::string& redirect = "", const std::string& locale = "C") {
    ToolRun run;
    const tavlo::test::TempFolder folder;
    const std::string errors = (folder / "errors").string();
    const std::string command = "LC_ALL=" + locale + " LANG=" + locale + " " + std::string(TAVLO_CAL_PROGRAM) + " " +
                                arguments + " 2>'" + errors + "' " + redirect;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    std::array<char, 4096> chunk{};
    std::size_t n = 0;
    while ((n = std::fread(chunk.data(), 1, chunk.size(), pipe)) > 0) run.out.append(chunk.data(), n);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.errors = tavlo::test::readFileBytes(errors);
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
    const struct {
        const char* arguments;
        const char* usage;  // how the usage line ends: the command's, or the tool's with every command
    } cases[] = {
        {"dump -0850-12-31 -0849-01-01", " dump 起始日期 结束日期"},
        {"dump 2100-12-31 2101-01-01", " dump 起始日期 结束日期"},
        {"day 2101-01-01", " day [YYYY-MM-DD]"},
        {"day 2024-02-30", " day [YYYY-MM-DD]"},
        {"day 1582-10-10", " day [YYYY-MM-DD]"},
        {"day 2024-2", " day [YYYY-MM-DD]"},
        {"month 2024-13", " month [YYYY-MM]"},
        {"month x", " month [YYYY-MM]"},
        {"dump 2024-01-02 2024-01-01", " dump 起始日期 结束日期"},
        {"dump 2024-01-01", " dump 起始日期 结束日期"},
        {"holidays 2024 2025", " holidays [YYYY]"},
        {"holidays x", " holidays [YYYY]"},
        {"day --week-numbers", " day [YYYY-MM-DD]"},
        {"frobnicate", " [参数…]"},
        {"", " [参数…]"},
        {"--folder", " [参数…]"},
        {"-x month", " [参数…]"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        const ToolRun run = runTool(c.arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        // The cause, in Chinese whatever the locale, and the usage line.
        const std::vector<std::string> lines = split(run.errors, '\n');
        ASSERT_EQ(lines.size(), 3u) << run.errors;
        EXPECT_EQ(lines[0].rfind("tavlo-cal: ", 0), 0u) << run.errors;
        EXPECT_NE(lines[0].find_first_of("\xE4\xE5\xE6\xE7\xE8\xE9"), std::string::npos) << run.errors;
        EXPECT_EQ(lines[1].rfind("用法：tavlo-cal [--folder 程序文件夹] ", 0), 0u) << run.errors;
        EXPECT_TRUE(lines[1].ends_with(c.usage)) << run.errors;
    }
}

TEST(TavloCal, SaysTheSameInEveryLocale) {
    for (const char* arguments : {"month 2024-02", "holidays 2026", "day 2024-02-30", "day 2024-02-10"}) {
        const ToolRun chinese = runTool(arguments, "", "zh_CN.UTF-8");
        for (const char* locale : {"C", "C.UTF-8", "en_US.UTF-8"}) {
            const ToolRun run = runTool(arguments, "", locale);
            EXPECT_EQ(run.out, chinese.out) << arguments << " " << locale;
            EXPECT_EQ(run.errors, chinese.errors) << arguments << " " << locale;
        }
    }
}

TEST(TavloCal, AFailedWriteEndsWithTheCauseInChinese) {
    struct Case {
        const char* redirect;
        const char* message;
    } outputs[] = {
        {">/dev/full", "tavlo-cal: 写入标准输出失败：磁盘空间不足\n"},
        {">&-", "tavlo-cal: 写入标准输出失败：标准输出已关闭\n"},
    };
    for (const Case& output : outputs) {
        for (const char* arguments :
             {"month 2024-02", "day 2024-02-10", "holidays 2024", "dump 2024-01-01 2024-12-31"}) {
            SCOPED_TRACE(std::string(arguments) + " " + output.redirect);
            const ToolRun run = runTool(arguments, output.redirect);
            EXPECT_EQ(run.status, 1);
            EXPECT_EQ(run.errors, output.message);
        }
    }
}

TEST(TavloCal, DayPrintsEveryFieldOfTheAnalysis) {
    const ToolRun run = runTool("day 1900-12-31");
    ASSERT_EQ(run.status, 0);
    for (const char* line : {"LunarYear: 1900\n", "LunarMonth: 11\n", "AnalysedDate: 366\n", "YearGanZhi: 庚子\n",
                             "EraName: [清]德宗 载湉 光绪26年\n", "LunarYearNumber: 1900\n", "Animal: 鼠\n"})
        EXPECT_NE(run.out.find(line), std::string::npos) << line;
    EXPECT_EQ(split(run.out, '\n').size(), 18u);  // the date, 15 fields, the arrangement, the empty rest
    EXPECT_NE(run.out.find("Arrangement: 未收录1900年的放假安排（已收录2008—2026年）\n"), std::string::npos);
}

TEST(TavloCal, DayNamesTheOfficialArrangement) {
    const struct {
        const char* day;
        const char* line;
    } cases[] = {
        {"2024-02-10", "Arrangement: 春节假期（休）\n"},
        {"2024-02-18", "Arrangement: 调休上班（班）\n"},
        {"2024-02-19", "Arrangement: \n"},
    };
    for (const auto& c : cases) {
        const ToolRun run = runTool(std::string("day ") + c.day);
        ASSERT_EQ(run.status, 0);
        EXPECT_NE(run.out.find(c.line), std::string::npos) << c.day;
    }
}

TEST(TavloCal, HolidaysListsTheYearOrSaysItIsNotKnown) {
    ToolRun run = runTool("holidays 2024");
    ASSERT_EQ(run.status, 0);
    const std::vector<std::string> lines = split(run.out, '\n');
    ASSERT_EQ(lines.size(), 9u);  // the title, seven holidays, the empty rest
    EXPECT_EQ(lines[0], "2024年放假安排");
    EXPECT_EQ(lines[2], "春节：2月10日（周六）至2月17日（周六）放假，共8天；2月4日（周日）、2月18日（周日）上班。");

    run = runTool("holidays 2030");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.errors, "tavlo-cal: 未收录2030年的放假安排（已收录2008—2026年）\n");
}

TEST(TavloCal, MonthMarksRestDaysAndWorkdays) {
    ToolRun run = runTool("month 2024-02");
    ASSERT_EQ(run.status, 0);
    for (const char* text : {"   4班", "  10休", "  17休", "  18班", "  19  ", "休：放假　班：调休上班\n"})
        EXPECT_NE(run.out.find(text), std::string::npos) << text;
    EXPECT_EQ(run.out.find("  9休"), std::string::npos);
    EXPECT_EQ(run.out.find("未收录"), std::string::npos);

    run = runTool("month 2030-10");
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(run.out.find("休"), std::string::npos);
    EXPECT_NE(run.out.find("未收录2030年的放假安排"), std::string::npos);
}

TEST(TavloCal, TheProgramFoldersTableAddsAYearAndReportsDamagedLinesOnce) {
    const tavlo::test::TempFolder folder;
    std::filesystem::create_directories(folder / "Data");
    tavlo::test::writeFileBytes(folder / "Data" / "Holidays.txt",
                                "2027 元旦 休 2027-01-01\n"
                                "2027 春节 休 2027-02-06 2027-02-31\n"
                                "2027 春节 休 2027-02-06 2027-02-13\n");
    const std::string prefix = "--folder '" + folder.path().string() + "' ";
    const ToolRun run = runTool(prefix + "holidays 2027");
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(
        run.out,
        "2027年放假安排\n元旦：1月1日（周五）放假，共1天。\n春节：2月6日（周六）至2月13日（周六）放假，共8天。\n");
    EXPECT_EQ(run.errors, "tavlo-cal: 节假日表“" + (folder / "Data" / "Holidays.txt").string() +
                              "”第 2 行：日期“2027-02-31”不是 YYYY-MM-DD 形式的日期，此行未用\n");
    EXPECT_NE(runTool(prefix + "day 2027-02-08").out.find("Arrangement: 春节假期（休）\n"), std::string::npos);
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
