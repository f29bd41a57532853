#include "ProgramHolidays.h"

#include "FileError.h"
#include "Gb18030.h"
#include "HolidayParser.h"
#include "MappedFile.h"
#include "ProgramFolder.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace tavlo::holidays {
namespace {

constexpr std::size_t kLargestTable = 1 << 20;  // a century of years is a few hundred kilobytes

std::string fileName(const std::filesystem::path& path) {
    return "“" + std::string(reinterpret_cast<const char*>(path.u8string().c_str())) + "”";
}

// The file's text as UTF-8; a file that is not valid UTF-8 was saved in the
// system's code page by a Windows editor.
std::string readTable(const std::filesystem::path& path) {
    const MappedFile file(path);
    if (file.bytes().size() > kLargestTable) throw FileError("读取节假日表", path, "文件大于 1 MB，不是节假日表");
    const std::string_view bytes(reinterpret_cast<const char*>(file.bytes().data()), file.bytes().size());
    std::string text = sanitizeUtf8(bytes) == bytes ? std::string(bytes) : gb18030ToUtf8(bytes);
    file.checkUnchanged();
    return text;
}

}  // namespace

HolidayTable builtInHolidays() {
    return HolidayTable(parseHolidays(builtInHolidayText()).ranges);
}

LoadedHolidays loadHolidays(const ProgramFolder& folder) {
    const std::vector<HolidayRange> builtIn = parseHolidays(builtInHolidayText()).ranges;
    LoadedHolidays loaded;
    const std::filesystem::path path = folder.path(kUserTableName);
    // Anything else than a missing file (a folder, no permission) is reported by the read.
    std::error_code unknown;
    if (std::filesystem::status(path, unknown).type() == std::filesystem::file_type::not_found) {
        loaded.table = HolidayTable(builtIn);
        return loaded;
    }
    std::string text;
    try {
        text = readTable(path);
    } catch (const FileError& error) {
        loaded.messages.push_back(std::string(error.what()) + "；只用内置的节假日安排");
        loaded.table = HolidayTable(builtIn);
        return loaded;
    }
    const ParsedHolidays user = parseHolidays(text);
    std::vector<LineProblem> problems = user.problems;
    int unlisted = user.unlistedProblems;
    loaded.table = mergeHolidays(builtIn, user, problems, &unlisted);
    std::stable_sort(problems.begin(), problems.end(),
                     [](const LineProblem& a, const LineProblem& b) { return a.line < b.line; });
    if (problems.size() > kListedProblems) {
        unlisted += static_cast<int>(problems.size() - kListedProblems);
        problems.resize(kListedProblems);
    }
    for (const LineProblem& problem : problems)
        loaded.messages.push_back("节假日表" + fileName(path) + "第 " + std::to_string(problem.line) + " 行：" +
                                  problem.cause + "，此行未用");
    if (unlisted > 0)
        loaded.messages.push_back("节假日表" + fileName(path) + "另有 " + std::to_string(unlisted) + " 行有误，均未用");
    return loaded;
}

std::shared_ptr<const HolidayTable> programHolidays() {
    static const std::shared_ptr<const HolidayTable> table = [] {
        LoadedHolidays loaded;
        try {
            loaded = loadHolidays(ProgramFolder::ofExecutable());
        } catch (const std::exception&) {
            // Without the executable's path (no /proc) there is no user table.
            loaded.table = builtInHolidays();
        }
        for (const std::string& message : loaded.messages) std::fprintf(stderr, "%s\n", message.c_str());
        return std::make_shared<const HolidayTable>(std::move(loaded.table));
    }();
    return table;
}

}  // namespace tavlo::holidays
