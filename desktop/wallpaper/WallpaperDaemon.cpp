#include "WallpaperDaemon.h"
#include "DesktopCommand.h"
#include "PicturePath.h"
#include "WallpaperTexts.h"

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

namespace tavlo::wallpaper {
namespace {

namespace fs = std::filesystem;

// A process of this user whose name is `comm`.
bool userRuns(const std::string& comm) {
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator("/proc", error)) {
        const std::string pid = entry.path().filename().string();
        if (pid.find_first_not_of("0123456789") != std::string::npos) continue;
        std::ifstream in(entry.path() / "comm");
        std::string name;
        if (!std::getline(in, name) || name != comm) continue;
        struct stat status {};
        if (::stat(entry.path().c_str(), &status) == 0 && status.st_uid == ::getuid()) return true;
    }
    return false;
}

// hyprpaper answers "ok" through hyprctl, or what went wrong.
void hyprpaper(const QStringList& request, const std::string& picture) {
    const std::string answer = runDesktopCommand("hyprctl", QStringList{QStringLiteral("hyprpaper")} + request);
    if (answer.find("ok") == std::string::npos)
        throw WallpaperError(texts::wallpaperProgramRefused("hyprpaper"),
                             "hyprpaper: " + answer + " (" + picture + ")");
}

}  // namespace

std::optional<WallpaperDaemon::Kind> WallpaperDaemon::running() {
    if (userRuns("hyprpaper")) return Kind::Hyprpaper;
    if (userRuns("swww-daemon")) return Kind::Swww;
    return std::nullopt;
}

void WallpaperDaemon::SetWallpaper(const fs::path& path) {
    const std::string picture = fs::absolute(path).string();
    const QString file = pathText(path);
    if (kind_ == Kind::Swww) {
        runDesktopCommand("swww",
                          {QStringLiteral("img"), QStringLiteral("--transition-type"), QStringLiteral("none"), file});
        return;
    }
    // hyprpaper draws only pictures loaded before, on every monitor with an
    // empty monitor name, and keeps loaded ones until told to let go.
    hyprpaper({QStringLiteral("preload"), file}, picture);
    hyprpaper({QStringLiteral("wallpaper"), QStringLiteral(",") + file}, picture);
    runDesktopCommand("hyprctl", {QStringLiteral("hyprpaper"), QStringLiteral("unload"), QStringLiteral("unused")});
}

}  // namespace tavlo::wallpaper
