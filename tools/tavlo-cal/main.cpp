// tavlo-cal: the calendar engine on the command line. The holiday table is
// the built-in one with the program folder's Data/Holidays.txt (the
// executable's folder, or --folder).
#include "CalendarArgs.h"
#include "Commands.h"
#include "ProgramFolder.h"
#include "ProgramHolidays.h"
#include "ToolMain.h"
#ifdef TAVLO_CAL_RENDER
#include "RenderCommand.h"
#endif

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include <memory>
#include <optional>
#include <string>

namespace tavlo::cal {
namespace {

constexpr std::string_view kDates =
    "日期为 YYYY-MM-DD，按本程序的日历：1582-10-04 以前是儒略历，1582-10-15 起是格里历；"
    "年份从 -849 到 2100，公元前的年份带“-”，有 0 年（公元前 1 年）。";

tool::ToolDescription describeTool() {
    tool::ToolDescription tool{
        .name = "tavlo-cal",
        .summary = "中文日历：月历、一天的农历分析、一年的放假安排、一段日子的逐日数据和日历控件的图片。",
        .options = {{"--folder", "程序文件夹",
                     "放假安排取内置的表加上这个程序文件夹中的 Data/Holidays.txt（默认是本程序所在的文件夹）"}},
        .commands =
            {
                {.name = "month",
                 .arguments = "[YYYY-MM]",
                 .summary = "显示一个月的月历：每天的日期、农历或节日，以及放假（休）和调休上班（班）",
                 .details = "不写月份时为本月。",
                 .mostOperands = 1},
                {.name = "day",
                 .arguments = "[YYYY-MM-DD]",
                 .summary = "显示一天的农历分析，每项一行（“名称: 值”），最后是这一天的放假安排",
                 .details = "不写日期时为今天。",
                 .mostOperands = 1},
                {.name = "holidays",
                 .arguments = "[YYYY]",
                 .summary = "显示一年的官方放假安排，每个节日一行",
                 .details = "不写年份时为今年；没有收录的年份算作失败。",
                 .mostOperands = 1},
                {.name = "ics",
                 .arguments = "[--from YYYY] [--years 年数] [--what 种类]",
                 .summary = "以 iCalendar 格式（RFC 5545）输出节日、二十四节气和放假安排，供其他日历程序导入",
                 .details = "--what 是 festivals、terms、holidays、reminders 中的几项，以逗号分隔，默认全部。\n"
                            "每个事件是全天的，标识在每次导出时都相同；年份从 1 到 2100。",
                 .options = {{"--from", "YYYY", "从这一年开始（默认今年）"},
                             {"--years", "年数", "输出几年（默认 1）"},
                             {"--what", "种类", "输出哪些事件"}}},
#ifdef TAVLO_CAL_REMINDERS
                {.name = "remind",
                 .arguments = "add 标题 (--lunar 月-日 [--leap] | --solar 月-日 | --once YYYY-MM-DD) [--ahead 天数] "
                              "[--note 说明] | list | remove 编号 | due [YYYY-MM-DD]",
                 .summary = "农历或公历日子的提醒：添加、列出、删除，以及某天（默认今天）该提醒的事，每行一个",
                 .details = "提醒保存在程序文件夹的记事数据库 Data/Notes.db 中，随记事一起备份和恢复。\n"
                            "农历三十在只有二十九天的月份提前到二十九；闰月的日子在没有这个闰月的年份按平月；"
                            "2 月 29 日在平年按 2 月 28 日。",
                 .fewestOperands = 1,
                 .mostOperands = 2,
                 .options = {{"--lunar", "月-日", "每年农历的这一天"},
                             {"--leap", "", "（和 --lunar 一起）闰月的这一天"},
                             {"--solar", "月-日", "每年公历的这一天"},
                             {"--once", "YYYY-MM-DD", "只在这一天"},
                             {"--ahead", "天数", "再提前几天提醒（0 到 30）"},
                             {"--note", "说明", "提醒的说明"}}},
#endif
                {.name = "dump",
                 .arguments = "起始日期 结束日期",
                 .summary = "为这段日子的每一天输出一行以制表符分隔的 17 项数据，用来和其他日历比对",
                 .details = kDates,
                 .fewestOperands = 2,
                 .mostOperands = 2},
            },
        .details = kDates,
    };
#ifdef TAVLO_CAL_RENDER
    tool.commands.push_back(renderCommand());
#endif
    return tool;
}

const tool::ToolDescription& calendarTool() {
    static const tool::ToolDescription tool = describeTool();
    return tool;
}

// The table of the program folder; each line it leaves out is reported once.
std::shared_ptr<const holidays::HolidayTable> programTable(const std::optional<std::string>& folder) {
    holidays::LoadedHolidays loaded;
    try {
        loaded = holidays::loadHolidays(folder ? ProgramFolder(std::filesystem::path(*folder))  // the system's bytes
                                               : ProgramFolder::ofExecutable());
    } catch (const std::exception&) {
        loaded.table = holidays::builtInHolidays();  // no path of the executable: no user table either
    }
    for (const std::string& message : loaded.messages) tool::reportProblem(calendarTool(), message);
    return std::make_shared<const holidays::HolidayTable>(std::move(loaded.table));
}

#ifdef TAVLO_CAL_REMINDERS
// The folder given, or the executable's.
std::filesystem::path programFolder(const std::optional<std::string>& folder) {
    return folder ? std::filesystem::path(*folder) : ProgramFolder::ofExecutable().root();
}
#endif

int run(const tool::Invocation& call) {
    const std::string_view command = call.command->name;
    const std::vector<std::string>& args = call.operands;
    if (command == "dump") {
        runDump(args);
        return 0;
    }
    const auto table = programTable(call.value("--folder"));
#ifdef TAVLO_CAL_RENDER
    if (command == "render") return runRender(call, table);
#endif
    if (command == "month") runMonth(args, *table);
    if (command == "day") runDay(args, *table);
    if (command == "holidays") runHolidays(args, *table);
    if (command == "ics") {
        std::vector<reminders::Reminder> kept;
#ifdef TAVLO_CAL_REMINDERS
        kept = storedReminders(programFolder(call.value("--folder")));
#endif
        runIcs(call.value("--from"), call.value("--years"), call.value("--what"), *table, kept);
    }
#ifdef TAVLO_CAL_REMINDERS
    if (command == "remind") runRemind(call, programFolder(call.value("--folder")));
#endif
    return 0;
}

}  // namespace
}  // namespace tavlo::cal

int main(int argc, char** argv) {
#ifdef _WIN32
    // The output is UTF-8 text with LF line ends on every system, so that
    // dumps compare byte for byte; text mode would write CR LF.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    return tavlo::tool::runTool(tavlo::cal::calendarTool(), argc, argv, tavlo::cal::run);
}
