// tavlo-notes: the notes the program keeps in its folder, on the command line.
// Commands that only read open the database read-only and create nothing.
#include "NotesCommands.h"
#include "NotesError.h"
#include "QtNotices.h"
#include "ToolMain.h"
#include "uDM.h"

#include <QGuiApplication>

#include <optional>
#include <string>

namespace {

using namespace tavlo;

const tool::ToolDescription kTool{
    .name = "tavlo-notes",
    .summary = "在命令行上读取、搜索、备份和导出程序的记事（日记和周记）。",
    .options = {{"--folder", "程序文件夹", "记事数据库 Data/Notes.db 所在的程序文件夹，默认是本程序所在的文件夹"}},
    .commands =
        {
            {.name = "text",
             .arguments = "文件",
             .summary = "显示记事文件（RTF 或纯文本）的文字",
             .fewestOperands = 1,
             .mostOperands = 1},
            {.name = "list", .summary = "列出有日记的日期，每行一个（YYYYMMDD）"},
            {.name = "show",
             .arguments = "YYYYMMDD",
             .summary = "显示那一天的日记的文字",
             .details = "那一天没有日记时算作失败。",
             .fewestOperands = 1,
             .mostOperands = 1},
            {.name = "export",
             .arguments = "YYYYMMDD 文件名",
             .summary = "像记事窗口的导出那样把那一天的日记写成“文件名.txt”，输出写成的文件",
             .details = "文件用 GB18030 编码，每行以 CR LF 结束；已有的文件整个换成新文件。",
             .fewestOperands = 2,
             .mostOperands = 2},
            {.name = "search",
             .arguments = "文字",
             .summary = "在日记和周记中搜索文字，每个匹配的行输出“位置<TAB>行”",
             .details = "拉丁字母不分大小写。日记的位置是日期（YYYYMMDD），周记的位置是页和星期"
                        "（如“C周六/日”）。没有找到时算作失败。",
             .fewestOperands = 1,
             .mostOperands = 1},
            {.name = "backup",
             .arguments = "文件",
             .summary = "把记事数据库备份到文件",
             .details = "程序正在使用数据库时也能得到完整的备份；文件要么保持原样，要么是完整的备份。"
                        "已有的文件必须是普通文件（不能是符号链接、设备或管道）。",
             .fewestOperands = 1,
             .mostOperands = 1},
            {.name = "restore",
             .arguments = "文件",
             .summary = "检查备份，然后用它恢复记事数据库",
             .details =
                 "损坏的、不是记事数据库的或记事表与程序的不一致的备份会被拒绝，什么都不改变。备份中的触发器和视图"
                 "不会带入，搜索索引根据记事重建。被替换的数据库先保存为 "
                 "Data/Backup/Notes-before-restore-时间.db（同一秒内再次恢复时加上 -2、-3 等），并输出它的位置。"
                 "只在程序文件夹中才会新建记事数据库。",
             .fewestOperands = 1,
             .mostOperands = 1},
            {.name = "export-all",
             .arguments = "文件夹 [--encoding utf-8|gb18030]",
             .summary = "把全部日记和周记导出到文件夹（不存在时新建）",
             .details = "每篇日记写成“YYYYMMDD.txt”，每页周记写成“周记A.txt”等，全部记事另外写成一个"
                        "保留颜色和样式的“全部记事.html”。已有的同名文件整个换成新文件。",
             .fewestOperands = 1,
             .mostOperands = 1,
             .options = {{"--encoding", "utf-8|gb18030",
                          "文本文件的编码：utf-8（默认，LF 换行）或 gb18030（CR LF 换行，与单篇导出相同）"}}},
        },
    .details = "restore 以外的命令以只读方式打开记事数据库，不新建也不改动它。",
};

// The program's words for a failure of the database, naming the file.
std::string databaseFailure(const ProgramFolder& folder, const notes::NotesError& error) {
    notes::logFailure(error);
    const std::string database = reinterpret_cast<const char*>(folder.path(TDM::kDatabaseName).u8string().c_str());
    if (std::string(error.what()) == notes::kNoDatabase) return std::string(notes::kNoDatabase) + "“" + database + "”";
    return "记事数据库“" + database + "”出错：" + error.what();
}

void runCommand(const ProgramFolder& folder, const tool::Invocation& call) {
    using namespace notes_tool;
    const std::string_view command = call.command->name;
    const std::vector<std::string>& args = call.operands;
    const auto text = [&](std::size_t i) { return QString::fromLocal8Bit(args[i]); };
    if (command == "text") textCommand(args[0]);
    if (command == "list") listCommand(folder);
    if (command == "show") showCommand(folder, text(0));
    if (command == "export") exportCommand(folder, text(0), text(1));
    if (command == "search") searchCommand(folder, text(0));
    if (command == "backup") backupCommand(folder, args[0]);
    if (command == "restore") restoreCommand(folder, args[0]);
    if (command == "export-all") exportAllCommand(folder, args[0], call.value("--encoding").value_or(""));
}

}  // namespace

int main(int argc, char** argv) {
    return tool::runTool(kTool, argc, argv, [&](const tool::Invocation& call) {
        tool::quietQtNotices();
        // Documents need the GUI application object, not a display.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication application(argc, argv);
        const std::optional<std::string> folderOption = call.value("--folder");
        // The folder as the system spells it, byte for byte.
        const ProgramFolder folder =
            folderOption ? ProgramFolder(std::filesystem::path(*folderOption)) : ProgramFolder::ofExecutable();
        try {
            runCommand(folder, call);
        } catch (const notes::NotesError& error) {
            throw tool::Failure(databaseFailure(folder, error));
        }
        return 0;
    });
}
