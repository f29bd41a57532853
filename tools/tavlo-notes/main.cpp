// tavlo-notes: the notes the program keeps in its folder, on the command line.
// Commands that only read open the database read-only and create nothing.
#include "FileError.h"
#include "NotesCommands.h"
#include "NotesError.h"
#include "StandardOutput.h"
#include "uDM.h"

#include <QGuiApplication>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

using namespace tavlo;

namespace {

constexpr const char* kUsage =
    "用法：tavlo-notes [--folder 程序文件夹] 命令\n"
    "  text 文件                        显示记事文件（RTF 或纯文本）的文字\n"
    "  list                             列出有日记的日期（YYYYMMDD）\n"
    "  show YYYYMMDD                    显示那一天的日记\n"
    "  export YYYYMMDD 文件名           把那一天的日记导出为“文件名.txt”\n"
    "  search 文字                      搜索日记和周记，每个匹配行输出“日期<TAB>行”\n"
    "  backup 文件                      把记事数据库备份到文件\n"
    "  restore 文件                     检查备份后用它恢复记事数据库\n"
    "  export-all 文件夹 [--encoding utf-8|gb18030]\n"
    "                                   导出全部日记和周记（文本和一个 HTML 文件）\n";

int usage(FILE* stream, int status) {
    std::fputs(kUsage, stream);
    return status;
}

int fail(const std::string& message) {
    std::fprintf(stderr, "tavlo-notes: %s\n", message.c_str());
    return 1;
}

// Takes "--name VALUE" out of the arguments; empty when absent.
std::optional<QString> takeOption(std::vector<QString>& args, const char* name) {
    for (std::size_t i = 0; i + 1 < args.size(); ++i) {
        if (args[i] != QLatin1String(name)) continue;
        const QString value = args[i + 1];
        args.erase(args.begin() + static_cast<std::ptrdiff_t>(i), args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
        return value;
    }
    return std::nullopt;
}

// The command's exit status; -1 for a command line that names none.
int run(const ProgramFolder& folder, std::vector<QString> args) {
    using namespace notes_tool;
    const std::optional<QString> encoding = takeOption(args, "--encoding");
    const QString command = args.empty() ? QString() : args[0];
    const std::size_t count = args.size();
    if (command == "export-all" && count == 2) return exportAllCommand(folder, args[1], encoding.value_or(QString()));
    if (encoding) return -1;
    if (command == "text" && count == 2) return textCommand(args[1]);
    if (command == "list" && count == 1) return listCommand(folder);
    if (command == "show" && count == 2) return showCommand(folder, args[1]);
    if (command == "export" && count == 3) return exportCommand(folder, args[1], args[2]);
    if (command == "search" && count == 2) return searchCommand(folder, args[1]);
    if (command == "backup" && count == 2) return backupCommand(folder, args[1]);
    if (command == "restore" && count == 2) return restoreCommand(folder, args[1]);
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    StandardOutput::guardClosedStreams();
    // Documents need the GUI application object, not a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    std::vector<QString> args;
    for (int i = 1; i < argc; ++i) args.push_back(QString::fromLocal8Bit(argv[i]));
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) return usage(stdout, 0);
    std::optional<ProgramFolder> folder;
    if (args.size() >= 2 && args[0] == "--folder") {
        folder.emplace(std::filesystem::path(args[1].toStdU16String()));
        args.erase(args.begin(), args.begin() + 2);
    }
    const ProgramFolder programFolder = folder ? *folder : ProgramFolder::ofExecutable();
    int status = 0;
    try {
        status = run(programFolder, args);
    } catch (const notes::NotesError& e) {
        notes::logFailure(e);
        const std::string database =
            reinterpret_cast<const char*>(programFolder.path(TDM::kDatabaseName).u8string().c_str());
        if (std::string(e.what()) == notes::kNoDatabase)
            return fail(std::string(notes::kNoDatabase) + "“" + database + "”");
        return fail("记事数据库“" + database + "”出错：" + e.what());
    } catch (const std::exception& e) {
        return fail(e.what());
    }
    if (status < 0) return usage(stderr, 2);
    const std::string written = StandardOutput::finish();
    return written.empty() ? status : fail(written);
}
