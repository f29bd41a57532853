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
    show({{"", path}});
}

void WallpaperDaemon::SetMonitorWallpapers(const std::vector<MonitorPicture>& pictures) {
    std::vector<std::pair<std::string, fs::path>> shown;
    for (const MonitorPicture& picture : pictures) shown.emplace_back(picture.monitor.name, picture.picture);
    show(shown);
}

// Each picture on the output of its name; an empty name is every output.
void WallpaperDaemon::show(const std::vector<std::pair<std::string, fs::path>>& pictures) {
    for (const auto& [output, path] : pictures) {
        const std::string picture = fs::absolute(path).string();
        const QString file = pathText(path), name = QString::fromStdString(output);
        try {
            if (kind_ == Kind::Swww) {
                QStringList arguments{QStringLiteral("img")};
                if (!output.empty()) arguments << QStringLiteral("-o") << name;
                runDesktopCommand("swww",
                                  arguments << QStringLiteral("--transition-type") << QStringLiteral("none") << file);
                continue;
            }
            // hyprpaper draws only pictures loaded before, on every monitor
            // with an empty monitor name, and keeps loaded ones until told
            // to let go.
            hyprpaper({QStringLiteral("preload"), file}, picture);
            hyprpaper({QStringLiteral("wallpaper"), name + QLatin1Char(',') + file}, picture);
        } catch (const WallpaperError& error) {
            if (output.empty()) throw;
            throw WallpaperError(texts::onMonitor(output, error.cause()), error.what());
        }
    }
    if (kind_ == Kind::Hyprpaper)
        runDesktopCommand("hyprctl", {QStringLiteral("hyprpaper"), QStringLiteral("unload"), QStringLiteral("unused")});
}

}  // namespace tavlo::wallpaper
