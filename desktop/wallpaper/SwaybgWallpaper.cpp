#include "SwaybgWallpaper.h"
#include "DesktopCommand.h"
#include "PicturePath.h"
#include "WallpaperTexts.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>

#include <signal.h>

#include <chrono>
#include <fstream>
#include <optional>
#include <sstream>
#include <thread>

namespace tavlo::wallpaper {
namespace {

namespace fs = std::filesystem;

constexpr const char* kProgram = "swaybg";
// Loading and scaling a large picture takes swaybg a moment on a slow machine.
constexpr auto kDrawWait = std::chrono::seconds(15);
constexpr auto kPollInterval = std::chrono::milliseconds(20);

// A process by its id and the time it started (in clock ticks after boot),
// which tells it apart from a later process that got the same id.
struct ProcessIdentity {
    qint64 pid = 0;
    std::string startTime;
};

std::string readFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

// Field 22 of /proc/PID/stat; the name before it may hold blanks and
// parentheses, so fields are counted from the last ')'.
std::optional<std::string> startTimeOf(qint64 pid) {
    const std::string stat = readFile("/proc/" + std::to_string(pid) + "/stat");
    const std::size_t close = stat.rfind(')');
    if (close == std::string::npos) return std::nullopt;
    std::istringstream fields(stat.substr(close + 1));
    std::string field;
    for (int i = 3; i <= 22 && fields >> field; ++i)
        if (i == 22) return field;
    return std::nullopt;
}

bool isRunningSwaybg(const ProcessIdentity& process) {
    std::string comm = readFile("/proc/" + std::to_string(process.pid) + "/comm");
    while (!comm.empty() && comm.back() == '\n') comm.pop_back();
    return comm == kProgram && startTimeOf(process.pid) == process.startTime;
}

std::optional<ProcessIdentity> readRecord(const fs::path& file) {
    std::istringstream in(readFile(file));
    ProcessIdentity process;
    if (in >> process.pid >> process.startTime && process.pid > 0) return process;
    return std::nullopt;
}

void writeRecord(const fs::path& file, const ProcessIdentity& process) {
    const fs::path partial = file.string() + ".part";
    std::ofstream(partial) << process.pid << ' ' << process.startTime << '\n';
    std::error_code error;
    fs::rename(partial, file, error);
}

enum class Outcome { Drawn, CannotLoad, Ended, Waiting };

// Reads swaybg's log in order: its Wayland log shows a buffer handed over for
// each output drawn, its own log a picture it could not load.
Outcome outcomeOf(const std::string& log, std::size_t outputs) {
    const std::size_t failed = log.find("Failed to load");
    std::size_t attached = 0, at = 0, firstAttach = std::string::npos;
    while ((at = log.find(".attach(", at)) != std::string::npos) {
        if (attached++ == 0) firstAttach = at;
        at += 1;
    }
    if (failed != std::string::npos && (firstAttach == std::string::npos || failed < firstAttach))
        return Outcome::CannotLoad;
    if (failed != std::string::npos && attached < outputs) return Outcome::CannotLoad;
    return attached >= outputs ? Outcome::Drawn : Outcome::Waiting;
}

Outcome waitForDrawing(const ProcessIdentity& process, const fs::path& log, std::size_t outputs) {
    const auto deadline = std::chrono::steady_clock::now() + kDrawWait;
    while (std::chrono::steady_clock::now() < deadline) {
        const Outcome outcome = outcomeOf(readFile(log), outputs);
        if (outcome != Outcome::Waiting) return outcome;
        if (!isRunningSwaybg(process))
            return outcomeOf(readFile(log), outputs) == Outcome::Drawn ? Outcome::Drawn : Outcome::Ended;
        std::this_thread::sleep_for(kPollInterval);
    }
    return Outcome::Waiting;
}

void end(const ProcessIdentity& process) {
    if (isRunningSwaybg(process)) ::kill(static_cast<pid_t>(process.pid), SIGTERM);
}

ProcessIdentity startSwaybg(const QStringList& arguments, const fs::path& log) {
    const QString executable = QStandardPaths::findExecutable(QString::fromLatin1(kProgram));
    if (executable.isEmpty()) throw WallpaperError(texts::programMissing(kProgram), "swaybg is not in PATH");
    QProcess process;
    process.setProgram(executable);
    process.setArguments(arguments);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("WAYLAND_DEBUG"), QStringLiteral("client"));
    process.setProcessEnvironment(environment);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QString::fromLocal8Bit(log.string().c_str()), QIODevice::Truncate);
    qint64 pid = 0;
    if (!process.startDetached(&pid)) throw WallpaperError(texts::programMissing(kProgram), "swaybg did not start");
    ProcessIdentity started{pid, {}};
    // The id is known before the new process has a /proc entry of its own.
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (auto time = startTimeOf(pid)) {
            started.startTime = *time;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return started;
}

}  // namespace

fs::path SwaybgWallpaper::recordFile() const {
    return runtime_ / ("tavlo-swaybg-" + display_ + ".pid");
}

fs::path SwaybgWallpaper::logFile() const {
    return runtime_ / ("tavlo-swaybg-" + display_ + ".log");
}

void SwaybgWallpaper::SetWallpaper(const fs::path& path) {
    run({QStringLiteral("-m"), QStringLiteral("stretch"), QStringLiteral("-i"), pathText(fs::absolute(path))}, 1);
}

// One client for all outputs, each with its own picture.
void SwaybgWallpaper::SetMonitorWallpapers(const std::vector<MonitorPicture>& pictures) {
    QStringList arguments;
    for (const MonitorPicture& picture : pictures)
        arguments << QStringLiteral("-o") << QString::fromStdString(picture.monitor.name) << QStringLiteral("-m")
                  << QStringLiteral("stretch") << QStringLiteral("-i") << pathText(fs::absolute(picture.picture));
    if (!pictures.empty()) run(arguments, pictures.size());
}

void SwaybgWallpaper::run(const QStringList& arguments, std::size_t outputs) {
    const std::optional<ProcessIdentity> previous = readRecord(recordFile());
    // A fresh log for the new client; the old one keeps writing to its own,
    // which is gone from the folder once replaced.
    std::error_code error;
    fs::remove(logFile(), error);
    const ProcessIdentity started = startSwaybg(arguments, logFile());
    const Outcome outcome = waitForDrawing(started, logFile(), outputs);
    if (outcome != Outcome::Drawn) {
        end(started);
        const std::string log = readFile(logFile());
        if (outcome == Outcome::CannotLoad)
            throw WallpaperError(texts::backgroundClientCannotLoad(kProgram), "swaybg: " + log);
        if (outcome == Outcome::Ended) throw WallpaperError(texts::backgroundClientExited(kProgram), "swaybg: " + log);
        throw WallpaperError(texts::backgroundClientSilent(kProgram), "swaybg drew nothing in time");
    }
    // The new background is up: the one before can go without a gap.
    if (previous) end(*previous);
    writeRecord(recordFile(), started);
}

}  // namespace tavlo::wallpaper
