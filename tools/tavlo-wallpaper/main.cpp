// tavlo-wallpaper: sets a picture as the desktop wallpaper through the
// mechanism the program itself uses, tells which mechanism that is and why,
// and sets the last picture again at login where the desktop forgets it.
//
//   tavlo-wallpaper [--folder DIR] set PATH    prints the mechanism's name
//   tavlo-wallpaper backend                    prints "NAME: reason"
//   tavlo-wallpaper [--folder DIR] restore     sets the remembered picture again
//
// DIR is the program folder (default: the folder of this executable). Exits
// 1 with a Chinese message on standard error when the wallpaper cannot be
// set, 2 on a usage error; --verbose adds the mechanism's own account.
#include "FileError.h"
#include "LoginRestore.h"
#include "ProgramFolder.h"
#include "WallpaperFactory.h"
#include "WallpaperTexts.h"

#include <QCoreApplication>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace tavlo::wallpaper;

constexpr const char* kUsage =
    "用法：tavlo-wallpaper [--folder 目录] set 图片文件\n"
    "      tavlo-wallpaper backend\n"
    "      tavlo-wallpaper [--folder 目录] restore\n"
    "\n"
    "  set      把图片设为桌面壁纸（拉伸到整个屏幕），输出所用的方式\n"
    "  backend  输出这个桌面会用的方式和原因\n"
    "  restore  再次设置最后一次设置的壁纸（登录时自动运行）\n"
    "  --folder 程序文件夹，默认是本程序所在的文件夹\n"
    "  --verbose 出错时另外输出桌面程序的原始信息\n";

bool verbose = false;

// One write for the whole text: GLib's worker threads may print warnings at
// the same moment, and must not land inside it.
bool writeAll(std::FILE* stream, const std::string& text) {
    return std::fwrite(text.data(), 1, text.size(), stream) == text.size() && std::fflush(stream) == 0;
}

int fail(const std::string& message) {
    writeAll(stderr, "tavlo-wallpaper: " + message + "\n");
    return 1;
}

int usageError() {
    writeAll(stderr, std::string("tavlo-wallpaper: 用法不对\n") + kUsage);
    return 2;
}

int printLine(const std::string& line) {
    errno = 0;
    if (!writeAll(stdout, line + "\n")) return fail("写入标准输出失败：" + tavlo::describeSystemError(errno));
    return 0;
}

int setWallpaper(const fs::path& folder, const fs::path& picture, const BackendChoice& choice) {
    std::error_code error;
    if (!fs::is_regular_file(picture, error)) return fail("没有找到图片文件：" + picture.string());
    const fs::path full = fs::absolute(picture);
    auto backend = createProgramBackend(choice, folder);
    try {
        backend->SetWallpaper(full);
    } catch (const WallpaperError& failure) {
        if (verbose) writeAll(stderr, std::string("tavlo-wallpaper: ") + failure.what() + "\n");
        return fail(texts::failureMessage(failure.cause(), full));
    }
    return printLine(backend->name());
}

int restore(const fs::path& folder) {
    const std::optional<fs::path> picture = pictureToRestore(LoginRestorePaths::forProgramFolder(folder));
    if (!picture) return fail(texts::nothingToRestore());
    return setWallpaper(folder, *picture, chooseBackend());
}

struct Arguments {
    std::optional<fs::path> folder;
    std::vector<std::string> words;
    bool help = false;
    bool version = false;
};

std::optional<Arguments> parse(int argc, char** argv) {
    Arguments arguments;
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        if (word == "--help" || word == "-h")
            arguments.help = true;
        else if (word == "--version")
            arguments.version = true;
        else if (word == "--verbose")
            verbose = true;
        else if (word == "--folder" && i + 1 < argc && *argv[i + 1])
            arguments.folder = argv[++i];
        else if (word.rfind("-", 0) == 0 && word != "-")
            return std::nullopt;
        else
            arguments.words.push_back(word);
    }
    return arguments;
}

}  // namespace

int main(int argc, char** argv) {
    // The D-Bus backends expect an application object.
    QCoreApplication application(argc, argv);
    const std::optional<Arguments> arguments = parse(argc, argv);
    if (!arguments) return usageError();
    if (arguments->help) return writeAll(stdout, kUsage) ? 0 : 1;
    if (arguments->version) return printLine("tavlo-wallpaper " TAVLO_VERSION);
    const fs::path folder =
        arguments->folder ? fs::absolute(*arguments->folder) : tavlo::ProgramFolder::ofExecutable().root();
    const std::vector<std::string>& words = arguments->words;
    try {
        if (words.size() == 1 && words[0] == "backend") {
            const BackendChoice choice = chooseBackend();
            return printLine(backendName(choice.kind) + ": " + choice.reason);
        }
        if (words.size() == 2 && words[0] == "set") return setWallpaper(folder, words[1], chooseBackend());
        if (words.size() == 1 && words[0] == "restore") return restore(folder);
    } catch (const std::exception& error) {
        if (verbose) writeAll(stderr, std::string("tavlo-wallpaper: ") + error.what() + "\n");
        return fail("无法设置桌面壁纸");
    }
    return usageError();
}
