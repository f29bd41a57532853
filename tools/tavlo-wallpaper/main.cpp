// tavlo-wallpaper: sets a picture as the desktop wallpaper through the
// mechanism the program itself uses, tells which mechanism that is and why,
// sets the last picture again at login where the desktop forgets it, steps
// through the background library and keeps the schedule of changes.
#include "LoginRestore.h"
#include "MonitorDiscovery.h"
#include "ProgramFolder.h"
#include "QtNotices.h"
#include "RotationCommands.h"
#include "ScheduleRunner.h"
#include "StandardOutput.h"
#include "ToolMain.h"
#include "UserFacingError.h"
#include "WallpaperFactory.h"
#include "WallpaperSchedule.h"
#include "WallpaperTexts.h"

#include <QCoreApplication>

#include <glib.h>

#include <filesystem>
#include <optional>
#include <string>

namespace {

namespace fs = std::filesystem;
using namespace tavlo;
using namespace tavlo::wallpaper;

const tool::ToolDescription kTool{
    .name = "tavlo-wallpaper",
    .summary = "用程序自己的方式设置桌面壁纸，说明这个桌面用哪种方式，登录时再次设置壁纸，按顺序或按时间更换壁纸。",
    .options = {{"--folder", "程序文件夹", "记住壁纸和写登录项时用的程序文件夹，默认是本程序所在的文件夹"},
                {"--mode", "方式",
                 "背景铺到显示器上的方式：stretch（拉伸）、fill（填充）、fit（适应）、center（居中）、tile（平铺）"},
                {"--verbose", "", "出错时另外输出桌面程序的原始信息"}},
    .commands =
        {
            {.name = "set",
             .arguments = "图片文件",
             .summary = "把图片设为桌面壁纸（拉伸到整个屏幕），成功后输出所用的方式",
             .details = "失败时说明原因和图片所在的位置，可以在桌面的设置中自己选这张图片。\n"
                        "给了 --mode 时，图片按这种方式铺到每个显示器上（Set.bmp，其他显示器 Set-输出名.bmp）。\n"
                        "桌面在注销后忘记壁纸时（单纯的 X11 会话、swaybg、sway），程序记住这张图片，"
                        "并写登录项 ~/.config/autostart/tavlo-wallpaper.desktop，登录时运行 restore。",
             .fewestOperands = 1,
             .mostOperands = 1},
            {.name = "next",
             .summary = "换成背景图片库中的下一张背景，贴上当前图片，成功后输出背景的文件名",
             .details = "和“应用到桌面”的顺序相同，到头后从另一头接着走；每个显示器一张合成图。",
             .options = {{"--scheduled", "", "由定时器运行：自动更换已暂停时什么也不做"}}},
            {.name = "previous", .summary = "换回背景图片库中的上一张背景，贴上当前图片，成功后输出背景的文件名"},
            {.name = "schedule",
             .arguments = "off|every 分钟|daily 时:分|login|pause|resume|status",
             .summary = "设定自动更换壁纸：关闭、每隔几分钟、每天定时、每次登录时；暂停、继续；查看",
             .details = "有 systemd 用户服务时写入并启用 ~/.config/systemd/user/tavlo-wallpaper-next.timer，"
                        "否则写登录项，程序运行时由程序自己定时。关闭时删除这些文件。",
             .fewestOperands = 1,
             .mostOperands = 2},
            {.name = "backend", .summary = "输出这个桌面会用的方式和原因（“方式: 原因”）"},
            {.name = "restore", .summary = "再次设置最后一次设置的壁纸（登录时自动运行）"},
        },
};

bool verbose = false;

// The mechanisms' own account is for whoever asked for it with --verbose.
void tell(const std::string& account) {
    if (verbose) tool::reportProblem(kTool, account);
}

// GLib's warnings (a settings store that cannot be reached) say in a
// developer's words what the tool's own message says; --verbose shows them.
GLogWriterOutput quietGLibWarnings(GLogLevelFlags level, const GLogField* fields, gsize count, gpointer) {
    if (verbose || (level & G_LOG_LEVEL_ERROR)) return g_log_writer_default(level, fields, count, nullptr);
    return G_LOG_WRITER_HANDLED;
}

std::optional<FitMode> modeOption(const tool::Invocation& call) {
    const std::optional<std::string> word = call.value("--mode");
    if (!word) return std::nullopt;
    const std::optional<FitMode> mode = fitModeFromWord(*word);
    if (!mode) throw tool::UsageError("不认识的铺放方式：" + *word);
    return mode;
}

int setWallpaper(const fs::path& folder, const fs::path& picture, const BackendChoice& choice,
                 std::optional<FitMode> mode) {
    std::error_code error;
    if (!fs::is_regular_file(picture, error)) throw tool::Failure("没有找到图片文件：" + picture.string());
    const fs::path full = fs::absolute(picture);
    auto backend = createProgramBackend(choice, folder);
    if (mode) {
        setFitted(*backend, folder, full, *mode, tell);
    } else {
        try {
            backend->SetWallpaper(full);
        } catch (const WallpaperError& failure) {
            tell(failure.what());
            throw tool::Failure(texts::failureMessage(failure.cause(), full));
        }
    }
    tool::writeLine(backend->name());
    return 0;
}

int restore(const fs::path& folder) {
    // A schedule that changes the wallpaper at login does it instead.
    const WallpaperSchedule schedule = WallpaperSchedule::read(folder);
    if (schedule.kind == WallpaperSchedule::Kind::Login && !schedule.paused) return 0;
    const std::optional<RememberedWallpaper> remembered =
        wallpaperToRestore(LoginRestorePaths::forProgramFolder(folder));
    if (!remembered) throw tool::Failure(texts::nothingToRestore());
    std::error_code error;
    if (!fs::is_regular_file(remembered->picture, error))
        throw tool::Failure("没有找到图片文件：" + remembered->picture.string());
    auto backend = createProgramBackend(chooseBackend(), folder);
    try {
        restoreWallpaper(*backend, *remembered, sessionMonitors());
    } catch (const WallpaperError& failure) {
        tell(failure.what());
        throw tool::Failure(texts::failureMessage(failure.cause(), remembered->picture));
    }
    tool::writeLine(backend->name());
    return 0;
}

int schedule(const fs::path& folder, const std::vector<std::string>& words) {
    WallpaperSchedule current = WallpaperSchedule::read(folder);
    if (words.size() == 1 && words[0] == "status") {
        tool::writeLine("自动更换壁纸：" + current.description());
        return 0;
    }
    std::optional<WallpaperSchedule> wanted;
    if (words.size() == 1 && (words[0] == "pause" || words[0] == "resume")) {
        if (current.kind == WallpaperSchedule::Kind::Off) throw tool::Failure("自动更换壁纸没有打开");
        wanted = current;
        wanted->paused = words[0] == "pause";
    } else {
        wanted = WallpaperSchedule::parse(words);
    }
    if (!wanted) throw tool::UsageError("不认识的自动更换设定");
    // Stored once what runs it is in place: a failure leaves the schedule as it was.
    const ScheduleRunner runner =
        installSchedule(ScheduleFiles::forProgramFolder(folder), *wanted, UserServiceManager::session());
    wanted->write(folder);
    std::string how;
    if (runner == ScheduleRunner::Systemd) how = "（由 systemd 用户定时器执行）";
    if (runner == ScheduleRunner::LoginEntry && wanted->kind != WallpaperSchedule::Kind::Login)
        how = "（没有 systemd 用户服务：登录时更换，程序运行时由程序定时）";
    tool::writeLine("自动更换壁纸：" + wanted->description() + how);
    return 0;
}

int run(const tool::Invocation& call) {
    const std::string_view command = call.command->name;
    const std::optional<std::string> folderOption = call.value("--folder");
    const fs::path folder = folderOption ? fs::absolute(*folderOption) : ProgramFolder::ofExecutable().root();
    const std::optional<FitMode> mode = modeOption(call);
    try {
        if (command == "backend") {
            const BackendChoice choice = chooseBackend();
            tool::writeLine(backendName(choice.kind) + ": " + choice.reason);
            return 0;
        }
        if (command == "set") return setWallpaper(folder, call.operands[0], chooseBackend(), mode);
        if (command == "next" || command == "previous") {
            if (call.has("--scheduled") && WallpaperSchedule::read(folder).paused) return 0;
            const auto direction =
                command == "next" ? WallpaperRotation::Direction::Next : WallpaperRotation::Direction::Previous;
            auto backend = createProgramBackend(chooseBackend(), folder);
            tool::writeLine(step(*backend, folder, direction, mode, tell));
            return 0;
        }
        if (command == "schedule") return schedule(folder, call.operands);
        return restore(folder);
    } catch (const tool::Failure&) {
        throw;
    } catch (const tool::UsageError&) {
        throw;
    } catch (const UserFacingError& error) {
        throw tool::Failure(error.what());
    } catch (const std::exception& error) {
        tell(error.what());
        throw tool::Failure("无法设置桌面壁纸");
    }
}

}  // namespace

int main(int argc, char** argv) {
    return tool::runTool(kTool, argc, argv, [&](const tool::Invocation& call) {
        verbose = call.has("--verbose");
        tool::quietQtNotices(verbose);
        g_log_set_writer_func(quietGLibWarnings, nullptr, nullptr);
        // The D-Bus backends expect an application object.
        QCoreApplication application(argc, argv);
        return run(call);
    });
}
