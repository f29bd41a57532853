// tavlo-cal [--folder DIR] month [YYYY-MM] | day [YYYY-MM-DD] | holidays [YYYY]
//           | dump START END | render [YYYY-MM-DD] OUT.png ...
// The holiday table is the built-in one with the program folder's
// Data\Holidays.txt (the executable's folder, or DIR).
#include "CalendarArgs.h"
#include "Commands.h"
#include "FileError.h"
#include "Output.h"
#include "ProgramFolder.h"
#include "ProgramHolidays.h"
#ifdef TAVLO_CAL_RENDER
#include "RenderCommand.h"
#endif

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include <cstdio>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

namespace tavlo::cal {
namespace {

constexpr const char* kUsage =
    "用法：tavlo-cal [--folder 程序文件夹] month [YYYY-MM] | day [YYYY-MM-DD] | holidays [YYYY]"
    " | dump 起始日期 结束日期 | render [YYYY-MM-DD] 输出.png [--size 宽x高] [--week-numbers] [--no-title]";

// The table of the program folder; each line it leaves out is reported once.
std::shared_ptr<const holidays::HolidayTable> programTable(const std::optional<ProgramFolder>& folder) {
    holidays::LoadedHolidays loaded;
    try {
        loaded = holidays::loadHolidays(folder ? *folder : ProgramFolder::ofExecutable());
    } catch (const std::exception&) {
        loaded.table = holidays::builtInHolidays();  // no path of the executable: no user table either
    }
    for (const std::string& message : loaded.messages) std::fprintf(stderr, "tavlo-cal: %s\n", message.c_str());
    return std::make_shared<const holidays::HolidayTable>(std::move(loaded.table));
}

int run(const std::string& command, const std::vector<std::string>& args, const std::optional<ProgramFolder>& folder) {
    if (command == "dump") {
        runDump(args, stdout);
        return 0;
    }
    using Command = void (*)(const std::vector<std::string>&, const holidays::HolidayTable&, std::FILE*);
    Command textCommand = command == "month"      ? runMonth
                          : command == "day"      ? runDay
                          : command == "holidays" ? runHolidays
                                                  : nullptr;
#ifdef TAVLO_CAL_RENDER
    if (command == "render") return runRender(args, programTable(folder));
#endif
    if (!textCommand) throw UsageError(kUsage);
    textCommand(args, *programTable(folder), stdout);
    return 0;
}

}  // namespace
}  // namespace tavlo::cal

int main(int argc, char** argv) {
    using namespace tavlo::cal;
    std::vector<std::string> words(argv + 1, argv + argc);
#ifdef _WIN32
    // The output is UTF-8 text with LF line ends on every system, so that
    // dumps compare byte for byte; text mode would write CR LF.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    try {
        std::optional<tavlo::ProgramFolder> folder;
        if (!words.empty() && words.front() == "--folder") {
            if (words.size() < 2 || words[1].empty()) throw UsageError("--folder 后面应有程序文件夹");
            folder.emplace(std::filesystem::path(words[1]));  // the system's own bytes
            words.erase(words.begin(), words.begin() + 2);
        }
        const std::string command = words.empty() ? "" : words.front();
        const std::vector<std::string> args(words.begin() + (words.empty() ? 0 : 1), words.end());
        const int status = run(command, args, folder);
        finishOut(stdout);
        return status;
    } catch (const UsageError& error) {
        std::fprintf(stderr, "tavlo-cal: %s\n", error.what());
    } catch (const OutputError& error) {
        std::fprintf(stderr, "tavlo-cal: %s\n", error.what());
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "tavlo-cal: 内存不足\n");
    } catch (const std::system_error& error) {
        // Threads of the dump that the system cannot start.
        std::fprintf(stderr, "tavlo-cal: 系统拒绝了请求：%s\n",
                     tavlo::describeSystemError(error.code().value()).c_str());
    }
    return 1;
}
