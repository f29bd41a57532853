// tavlo-wallpaper: sets a picture as the desktop wallpaper through the
// mechanism the program itself uses, tells which mechanism that is and why,
// and sets the last picture again at login where the desktop forgets it.
#include "LoginRestore.h"
#include "ProgramFolder.h"
#include "QtNotices.h"
#include "StandardOutput.h"
#include "ToolMain.h"
#include "WallpaperFactory.h"
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
    .summary = "用程序自己的方式设置桌面壁纸，说明这个桌面用哪种方式，登录时再次设置壁纸。",
    .options = {{"--folder", "程序文件夹", "记住壁纸和写登录项时用的程序文件夹，默认是本程序所在的文件夹"},
                {"--verbose", "", "出错时另外输出桌面程序的原始信息"}},
    .commands =
        {
            {.name = "set",
             .arguments = "图片文件",
             .summary = "把图片设为桌面壁纸（拉伸到整个屏幕），成功后输出所用的方式",
             .details = "失败时说明原因和图片所在的位置，可以在桌面的设置中自己选这张图片。\n"
                        "桌面在注销后忘记壁纸时（单纯的 X11 会话、swaybg、sway），程序记住这张图片，"
                        "并写登录项 ~/.config/autostart/tavlo-wallpaper.desktop，登录时运行 restore。",
             .fewestOperands = 1,
             .mostOperands = 1},
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

int setWallpaper(const fs::path& folder, const fs::path& picture, const BackendChoice& choice) {
    std::error_code error;
    if (!fs::is_regular_file(picture, error)) throw tool::Failure("没有找到图片文件：" + picture.string());
    const fs::path full = fs::absolute(picture);
    auto backend = createProgramBackend(choice, folder);
    try {
        backend->SetWallpaper(full);
    } catch (const WallpaperError& failure) {
        tell(failure.what());
        throw tool::Failure(texts::failureMessage(failure.cause(), full));
    }
    tool::writeLine(backend->name());
    return 0;
}

int restore(const fs::path& folder) {
    const std::optional<fs::path> picture = pictureToRestore(LoginRestorePaths::forProgramFolder(folder));
    if (!picture) throw tool::Failure(texts::nothingToRestore());
    return setWallpaper(folder, *picture, chooseBackend());
}

int run(const tool::Invocation& call) {
    const std::string_view command = call.command->name;
    const std::optional<std::string> folderOption = call.value("--folder");
    const fs::path folder = folderOption ? fs::absolute(*folderOption) : ProgramFolder::ofExecutable().root();
    try {
        if (command == "backend") {
            const BackendChoice choice = chooseBackend();
            tool::writeLine(backendName(choice.kind) + ": " + choice.reason);
            return 0;
        }
        if (command == "set") return setWallpaper(folder, call.operands[0], chooseBackend());
        return restore(folder);
    } catch (const tool::Failure&) {
        throw;
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
