#include "DesktopCommand.h"
#include "WallpaperBackend.h"
#include "WallpaperTexts.h"

#include <QProcess>
#include <QStandardPaths>

#include <cstdlib>

namespace tavlo::wallpaper {
namespace {

std::string environmentFolder(const char* variable, const char* underHome) {
    if (const char* value = std::getenv(variable); value && *value == '/') return value;
    const char* home = std::getenv("HOME");
    return std::string(home ? home : "") + "/" + underHome;
}

}  // namespace

bool programInPath(const std::string& program) {
    return !QStandardPaths::findExecutable(QString::fromStdString(program)).isEmpty();
}

std::string runDesktopCommand(const std::string& program, const QStringList& arguments,
                              std::chrono::milliseconds timeout) {
    const QString executable = QStandardPaths::findExecutable(QString::fromStdString(program));
    if (executable.isEmpty()) throw WallpaperError(texts::programMissing(program), program + " is not in PATH");
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(executable, arguments);
    if (!process.waitForStarted()) throw WallpaperError(texts::programMissing(program), program + " did not start");
    if (!process.waitForFinished(static_cast<int>(timeout.count()))) {
        process.kill();
        process.waitForFinished();
        throw WallpaperError(texts::programHung(program), program + " did not end in time");
    }
    const std::string output = process.readAll().toStdString();
    const int status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    if (status != 0)
        throw WallpaperError(texts::programFailed(program, status),
                             program + " exited with " + std::to_string(status) + ": " + output);
    return output;
}

std::string userConfigFolder() {
    return environmentFolder("XDG_CONFIG_HOME", ".config");
}

std::string userCacheFolder() {
    return environmentFolder("XDG_CACHE_HOME", ".cache");
}

}  // namespace tavlo::wallpaper
